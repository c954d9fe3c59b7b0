#pragma once

#include "app/PlaceholderContent.h"
#include "app/ToolDialog.h"

namespace Velmora {

// Created once at start-up and reused; its controls arrive with the feature it serves.
class RestoreForm : public ToolDialog {
    Q_OBJECT
public:
    RestoreForm(const AppContext &context, QWidget *parent)
        : ToolDialog(context, parent, QStringLiteral("Restore"), QString::fromUtf8("Wiederherstellen"))
    {
        setObjectName(QStringLiteral("RestoreForm"));
        AddPlaceholderContent(*this, contentLayout());
    }
};

} // namespace Velmora
