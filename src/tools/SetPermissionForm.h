#pragma once

#include "app/PlaceholderContent.h"
#include "app/ToolDialog.h"

namespace Velmora {

// Created once at start-up and reused; its controls arrive with the feature it serves.
class SetPermissionForm : public ToolDialog {
    Q_OBJECT
public:
    SetPermissionForm(const AppContext &context, QWidget *parent)
        : ToolDialog(context, parent, QStringLiteral("Permission"), QString::fromUtf8("Berechtigung"))
    {
        setObjectName(QStringLiteral("SetPermissionForm"));
        AddPlaceholderContent(*this, contentLayout());
    }
};

} // namespace Velmora
