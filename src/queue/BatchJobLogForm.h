#pragma once

#include "app/PlaceholderContent.h"
#include "app/ToolDialog.h"

namespace Velmora {

// Created once at start-up and reused; its controls arrive with the feature it serves.
class BatchJobLogForm : public ToolDialog {
    Q_OBJECT
public:
    BatchJobLogForm(const AppContext &context, QWidget *parent)
        : ToolDialog(context, parent, QStringLiteral("Last batchjobs"), QString::fromUtf8("Letzte Batchjobs"))
    {
        setObjectName(QStringLiteral("BatchJobLogForm"));
        AddPlaceholderContent(*this, contentLayout());
    }
};

} // namespace Velmora
