#pragma once

#include "app/PlaceholderContent.h"
#include "app/ToolDialog.h"

namespace Velmora {

// Created once at start-up and reused; its controls arrive with the feature it serves.
class EditFTPDataForm : public ToolDialog {
    Q_OBJECT
public:
    EditFTPDataForm(const AppContext &context, QWidget *parent)
        : ToolDialog(context, parent, QStringLiteral("FTP connection"), QString::fromUtf8("FTP Verbindung"))
    {
        setObjectName(QStringLiteral("EditFTPDataForm"));
        AddPlaceholderContent(*this, contentLayout());
    }
};

} // namespace Velmora
