#pragma once

#include "app/PlaceholderContent.h"
#include "app/ToolDialog.h"

namespace Velmora {

// Created once at start-up and reused; its controls arrive with the feature it serves.
class FTPConnectionsForm : public ToolDialog {
    Q_OBJECT
public:
    FTPConnectionsForm(const AppContext &context, QWidget *parent)
        : ToolDialog(context, parent, QStringLiteral("FTP connections"), QString::fromUtf8("FTP Verbindungen"))
    {
        setObjectName(QStringLiteral("FTPConnectionsForm"));
        AddPlaceholderContent(*this, contentLayout());
    }
};

} // namespace Velmora
