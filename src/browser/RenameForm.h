#pragma once

#include "app/PlaceholderContent.h"
#include "app/ToolDialog.h"

namespace Velmora {

// Created once at start-up and reused; its controls arrive with the feature it serves.
class RenameForm : public ToolDialog {
    Q_OBJECT
public:
    RenameForm(const AppContext &context, QWidget *parent)
        : ToolDialog(context, parent, QStringLiteral("Rename"), QString::fromUtf8("Umbenennen"))
    {
        setObjectName(QStringLiteral("RenameForm"));
        AddPlaceholderContent(*this, contentLayout());
    }
};

} // namespace Velmora
