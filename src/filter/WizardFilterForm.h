#pragma once

#include "app/PlaceholderContent.h"
#include "app/ToolDialog.h"

namespace Velmora {

// Created once at start-up and reused; its controls arrive with the feature it serves.
class WizardFilterForm : public ToolDialog {
    Q_OBJECT
public:
    WizardFilterForm(const AppContext &context, QWidget *parent)
        : ToolDialog(context, parent, QStringLiteral("Transfer mode"), QString::fromUtf8("Übertragungsmodus"))
    {
        setObjectName(QStringLiteral("WizardFilterForm"));
        AddPlaceholderContent(*this, contentLayout());
    }
};

} // namespace Velmora
