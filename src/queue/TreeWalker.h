#pragma once

#include "EventPump.h"

#include <QString>
#include <QStringList>

class QDateTime;

namespace Velmora {

class MasterFTP;
class QueueHost;
class QueueRunner;
class WalkProgress;
struct AppContext;
struct WorkControl;

// The tree walks that turn a folder into work: a remote folder into download records, delete
// records or permission records, a local folder into the list of its files for an upload. They
// count folders, files and bytes in the walk counters, report every step to the progress
// window, keep the window responsive and stop at the next entry when Abort is pressed.
//
// Names that records cannot hold ("|", "§", line breaks, a blank at the end, which readers
// trim) or that could leave the target folder ("/", "\", ".", "..") are never collected: the
// protocol gets an error line naming them. A name that begins with a blank is carried exactly.
// A link met inside a walked folder is taken as a file under the part of its name before " -> ".
// Local paths below the target are built from the part of each remote folder after the walked
// root (the root is removed as a prefix only, so a deeper folder of the same name keeps its place).
class TreeWalker {
public:
    TreeWalker(AppContext &context, MasterFTP &ftp, WorkControl &work, QueueHost &window, QueueRunner &runner);

    void setProgress(WalkProgress *progress) { m_progress = progress; }

    // Appends to retrRecords and mkLocalDirRecords what downloads remoteRoot into localTarget;
    // the "MKLOCALDIR" records must run first. The folders are walked level by level.
    void CollectDownload(QStringList &retrRecords, QStringList &mkLocalDirRecords, const QString &localTarget,
                         const QString &remoteRoot);
    // The records that delete the remote folder with everything in it: first the files, then the
    // folders from the deepest up, then the folder itself. After an abort nothing is returned.
    // currentFolder is the folder the server grid shows; it is current again afterwards.
    QStringList CollectDelete(const QString &currentFolder, const QString &targetFolder);
    // Makes "CHMOD" records for the folder (and its tree when recursive) and runs them at once;
    // afterwards currentFolder is current again.
    void CollectChmod(const QString &mode, const QString &currentFolder, bool filesOnly, bool directoriesOnly,
                      bool all, bool recursive, const QString &start);
    // Appends a collected-file text (full path, U+0083, "1|" name "|" size "|" date) for every
    // file below the folder of the pattern (folder + "/" + mask) that matches the mask. Hidden
    // files are taken; hidden folders, folders whose name begins with "." and linked folders
    // are not walked.
    void CollectLocal(const QString &pattern, QStringList &collected);

    // The folders the walks read since the last call, in the order they were read.
    QStringList takeFoldersRead();

    // Why a name can never be collected, or empty when it can.
    static QString NameProblem(const QString &name);
    // The protocol error line for a path whose name is not collected.
    void refuse(const QString &path);

private:
    void progressLine(const QString &line);
    // The progress line of a folder that is read, and the folder noted as read.
    void folderRead(const QString &path);
    bool walkLocal(const QString &folder, const QString &mask, QStringList &collected);
    QString dateText(const QDateTime &time) const;
    MasterFTP &ftp() const { return m_ftp; }

    AppContext &m_context;
    MasterFTP &m_ftp;
    WorkControl &m_work;
    QueueHost &m_window;
    QueueRunner &m_runner;
    QStringList m_foldersRead;
    WalkProgress *m_progress = nullptr;
    // The local walk lets the window handle its messages (Abort above all) between entries, as
    // often as the queue run does: processing them after every one of 20,000 files would repaint
    // the progress window 20,000 times.
    EventPump m_localPump;
};

} // namespace Velmora
