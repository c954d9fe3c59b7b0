#pragma once

#include "app/PlaceholderContent.h"
#include "app/ToolDialog.h"

namespace Velmora {

// Created once at start-up and reused; its controls arrive with the feature it serves.
class BatchJobForm : public ToolDialog {
    Q_OBJECT
public:
    BatchJobForm(const AppContext &context, QWidget *parent)
        : ToolDialog(context, parent, QStringLiteral("Create Batchjob"), QString::fromUtf8("Batchjob erzeugen"))
    {
        setObjectName(QStringLiteral("BatchJobForm"));
        AddPlaceholderContent(*this, contentLayout());
    }
};

} // namespace Velmora
