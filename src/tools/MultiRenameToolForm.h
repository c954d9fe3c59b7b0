#pragma once

#include "app/PlaceholderContent.h"
#include "app/ToolDialog.h"

namespace Velmora {

// Created once at start-up and reused; its controls arrive with the feature it serves.
class MultiRenameToolForm : public ToolDialog {
    Q_OBJECT
public:
    MultiRenameToolForm(const AppContext &context, QWidget *parent)
        : ToolDialog(context, parent, QStringLiteral("Multi rename tool"), QString::fromUtf8("Mehrfach-Umbenennungs-Tool"))
    {
        setObjectName(QStringLiteral("MultiRenameToolForm"));
        AddPlaceholderContent(*this, contentLayout());
    }
};

} // namespace Velmora
