#pragma once

#include "app/PlaceholderContent.h"
#include "app/ToolDialog.h"

namespace Velmora {

// Created once at start-up and reused; its controls arrive with the feature it serves.
class EditorForm : public ToolDialog {
    Q_OBJECT
public:
    EditorForm(const AppContext &context, QWidget *parent)
        : ToolDialog(context, parent, QStringLiteral("Editor"), QString::fromUtf8("Editor"))
    {
        setObjectName(QStringLiteral("EditorForm"));
        AddPlaceholderContent(*this, contentLayout());
    }
};

} // namespace Velmora
