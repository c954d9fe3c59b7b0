#pragma once

#include "app/PlaceholderContent.h"
#include "app/ToolDialog.h"

namespace Velmora {

// Created once at start-up and reused; its controls arrive with the feature it serves.
class SearchAndReplaceForm : public ToolDialog {
    Q_OBJECT
public:
    SearchAndReplaceForm(const AppContext &context, QWidget *parent)
        : ToolDialog(context, parent, QStringLiteral("Search and replace"), QString::fromUtf8("Suchen und Ersetzen"))
    {
        setObjectName(QStringLiteral("SearchAndReplaceForm"));
        AddPlaceholderContent(*this, contentLayout());
    }
};

} // namespace Velmora
