#pragma once

#include "app/PlaceholderContent.h"
#include "app/ToolDialog.h"

namespace Velmora {

// Created once at start-up and reused; its controls arrive with the feature it serves.
class AskOverwriteForm : public ToolDialog {
    Q_OBJECT
public:
    AskOverwriteForm(const AppContext &context, QWidget *parent)
        : ToolDialog(context, parent, QStringLiteral("Overwrite"), QString::fromUtf8("Überschreiben"))
    {
        setObjectName(QStringLiteral("AskOverwriteForm"));
        AddPlaceholderContent(*this, contentLayout());
    }
};

} // namespace Velmora
