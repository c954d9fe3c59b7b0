#pragma once

#include "app/PlaceholderContent.h"
#include "app/ToolDialog.h"

namespace Velmora {

// Created once at start-up and reused; its controls arrive with the feature it serves.
class ConnectivityCheckForm : public ToolDialog {
    Q_OBJECT
public:
    ConnectivityCheckForm(const AppContext &context, QWidget *parent)
        : ToolDialog(context, parent, QStringLiteral("Internet connection"), QString::fromUtf8("Internetverbindung"))
    {
        setObjectName(QStringLiteral("ConnectivityCheckForm"));
        AddPlaceholderContent(*this, contentLayout());
    }
};

} // namespace Velmora
