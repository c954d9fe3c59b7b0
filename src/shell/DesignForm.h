#pragma once

#include "app/PlaceholderContent.h"
#include "app/ToolDialog.h"

namespace Velmora {

// Created once at start-up and reused; its controls arrive with the feature it serves.
class DesignForm : public ToolDialog {
    Q_OBJECT
public:
    DesignForm(const AppContext &context, QWidget *parent)
        : ToolDialog(context, parent, QStringLiteral("Design"), QString::fromUtf8("Design"))
    {
        setObjectName(QStringLiteral("DesignForm"));
        AddPlaceholderContent(*this, contentLayout());
    }
};

} // namespace Velmora
