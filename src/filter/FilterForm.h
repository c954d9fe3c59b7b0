#pragma once

#include "app/PlaceholderContent.h"
#include "app/ToolDialog.h"

namespace Velmora {

// Created once at start-up and reused; its controls arrive with the feature it serves.
class FilterForm : public ToolDialog {
    Q_OBJECT
public:
    FilterForm(const AppContext &context, QWidget *parent)
        : ToolDialog(context, parent, QStringLiteral("Filter"), QString::fromUtf8("Filter"))
    {
        setObjectName(QStringLiteral("FilterForm"));
        AddPlaceholderContent(*this, contentLayout());
    }
};

} // namespace Velmora
