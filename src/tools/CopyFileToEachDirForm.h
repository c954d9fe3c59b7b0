#pragma once

#include "app/PlaceholderContent.h"
#include "app/ToolDialog.h"

namespace Velmora {

// Created once at start-up and reused; its controls arrive with the feature it serves.
class CopyFileToEachDirForm : public ToolDialog {
    Q_OBJECT
public:
    CopyFileToEachDirForm(const AppContext &context, QWidget *parent)
        : ToolDialog(context, parent, QStringLiteral("Copy a file to each directory (and subdirectories)"), QString::fromUtf8("Eine Datei in jedes Verzeichnis kopieren (Inklusiv Unterordner)"))
    {
        setObjectName(QStringLiteral("CopyFileToEachDirForm"));
        AddPlaceholderContent(*this, contentLayout());
    }
};

} // namespace Velmora
