#pragma once

#include "app/PlaceholderContent.h"
#include "app/ToolDialog.h"

namespace Velmora {

// Created once at start-up and reused; its controls arrive with the feature it serves.
class GetFilesListForm : public ToolDialog {
    Q_OBJECT
public:
    GetFilesListForm(const AppContext &context, QWidget *parent)
        : ToolDialog(context, parent, QStringLiteral("Directory structure"), QString::fromUtf8("Verzeichnisstruktur"))
    {
        setObjectName(QStringLiteral("GetFilesListForm"));
        AddPlaceholderContent(*this, contentLayout());
    }
};

} // namespace Velmora
