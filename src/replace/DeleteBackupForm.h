#pragma once

#include "app/PlaceholderContent.h"
#include "app/ToolDialog.h"

namespace Velmora {

// Created once at start-up and reused; its controls arrive with the feature it serves.
class DeleteBackupForm : public ToolDialog {
    Q_OBJECT
public:
    DeleteBackupForm(const AppContext &context, QWidget *parent)
        : ToolDialog(context, parent, QStringLiteral("Delete backups"), QString::fromUtf8("Sicherungen löschen"))
    {
        setObjectName(QStringLiteral("DeleteBackupForm"));
        AddPlaceholderContent(*this, contentLayout());
    }
};

} // namespace Velmora
