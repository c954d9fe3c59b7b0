#pragma once

#include "queue/SelectionLine.h"

#include <QList>
#include <QString>

namespace Velmora {

class QueueHost;
class QueueRunner;
class TreeWalker;

// What the permission dialog was left with.
struct PermissionChoice {
    enum class Scope { All, FilesOnly, DirectoriesOnly };
    QString value = QStringLiteral("777"); // three octal digits (four with the special bits), as the value box shows them
    bool recursive = false;
    Scope scope = Scope::All;
};

// The permissions text the dialog starts from: the selected row's own when fewer than two
// folders and files are selected (with several rows, links among them, the last row's),
// otherwise "-rwxr-xr-x".
QString InitialPermissionString(const QList<SelectionLine> &rows);
// The dialog offers recursion when a folder is selected.
bool SelectionHasFolder(const QList<SelectionLine> &rows);

// Changes the permissions of the selected server rows: every folder first, in selection order,
// through the permission walk (which runs the records of that folder, and of its tree when
// recursive, at once), then every selected file in one run. Links are never changed. The server
// folder is listed again after each row and at the end; the window is busy meanwhile.
class PermissionRun {
public:
    PermissionRun(TreeWalker &walker, QueueRunner &runner, QueueHost &window);

    void run(const QList<SelectionLine> &rows, const QString &serverPath, const PermissionChoice &choice);

    // The queue record that changes one file.
    static QString fileRecord(const QString &serverPath, const QString &name, const QString &value);

private:
    TreeWalker &m_walker;
    QueueRunner &m_runner;
    QueueHost &m_window;
};

} // namespace Velmora
