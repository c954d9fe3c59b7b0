#pragma once

#include "app/PlaceholderContent.h"
#include "app/ToolDialog.h"

namespace Velmora {

// Created once at start-up and reused; its controls arrive with the feature it serves.
class OnlineUpdateForm : public ToolDialog {
    Q_OBJECT
public:
    OnlineUpdateForm(const AppContext &context, QWidget *parent)
        : ToolDialog(context, parent, QStringLiteral("Online update"), QString::fromUtf8("Online-Update"))
    {
        setObjectName(QStringLiteral("OnlineUpdateForm"));
        AddPlaceholderContent(*this, contentLayout());
    }
};

} // namespace Velmora
