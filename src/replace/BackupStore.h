#pragma once

#include "BackupIndex.h"

#include "common/ListingEntry.h"

#include <QDateTime>
#include <QHash>

#include <QList>

#include <optional>
#include <QString>
#include <QStringList>

namespace Velmora {

class BackupDeletionView;
class Language;
class ProtocolLog;
class UserPrompts;

// The search-and-replace backups in the temporary folder: "BACKUP001", "BACKUP002", ... They
// last as long as the program run and the server: deleted at start, and after a question
// before the host changes and before the program ends. One store lives for the whole run: it
// counts the backups made so far.
class BackupStore {
public:
    // tempFolder ends with "/". log may be null.
    BackupStore(QString tempFolder, UserPrompts &prompts, const Language &language, ProtocolLog *log = nullptr);

    // "BACKUP" + the number with at least three digits: "BACKUP001", "BACKUP1000".
    static QString FolderName(int number);

    // Numbering starts at 1 in every run, so "BACKUP001" exists whenever any backup does.
    bool hasBackups() const;
    // Every folder "BACKUP*" in the temporary folder (by name), full paths ending with "/".
    QStringList backupFolders() const;

    // True when the caller may go on (backups gone, or none there); false when the user
    // answered No to the question (empty question: nothing is asked). Each folder is shown as
    // "Delete: " + path in the view before it is deleted; a folder that cannot be deleted is
    // reported in the protocol and the rest go on.
    // Numbering starts again at 1 once every backup is gone, so the rule above keeps holding
    // after a host change.
    bool DeleteAllBackups(const QString &question, BackupDeletionView &view);

    // What CreateBackup made: the backup folder (ending with "/") and the files it could not
    // copy (relative to the working folder). A backup with failures must not be relied on.
    struct Created {
        QString folder;
        QStringList failed;
        bool complete() const { return failed.isEmpty(); }
    };
    // The next numbered folder with a copy of everything in workingFolder (files and folders
    // with their structure) and the index file. destination is the server folder (kind
    // "Server") or the local folder (kind "Local") the working copies belong to.
    Created CreateBackup(const QString &kind, const BackupOperation &operation, const QString &destination,
                         const QString &workingFolder);
    int backupCounter() const { return m_counter; }
    // After the work a backup was made for: the backup keeps only the files that work changed
    // (paths relative to the backup folder) and its index, so a restore puts back exactly
    // those. Folders left empty go too.
    static void KeepOnly(const QString &backupFolder, const QStringList &changedFiles);
    // The backup holds no file besides its index: there is nothing to put back.
    static bool HoldsNoFiles(const QString &backupFolder);

    // Every index file "*.VELMORA" below the temporary folder, depth first, files of a folder
    // before its sub-folders (by name, without those beginning with "."): so backups come in the
    // order they were made.
    QList<BackupIndex> ListBackups() const;
    // A backup of kind "Local" put back: the destination folder is created and everything in
    // the backup folder (the index file too) is copied into it, over existing files. Returns
    // the files that could not be copied.
    QStringList RestoreLocal(const BackupIndex &index) const;

    // Copies the tree below from into to (both ending with "/"), over existing files; the
    // relative paths of files that could not be copied are appended to failed. Links to folders
    // are not followed.
    static void CopyTree(const QString &from, const QString &to, QStringList &failed, const QString &relative = {});

    // What an upload back of a search and replace left on the server at a remote path: its
    // listing entry as read after the upload, and when. Backups live only for the program run,
    // and so does this memory; a restore compares it with what the server holds then, so a
    // later change by someone else is never overwritten without a question.
    struct LeftOnServer {
        ListingEntry entry;
        QDateTime when;
    };
    void rememberLeft(const QString &remotePath, const ListingEntry &entry, const QDateTime &when);
    std::optional<LeftOnServer> leftAt(const QString &remotePath) const;
    // The files a backup holds (relative paths, the index left out).
    static QStringList FilesOf(const QString &backupFolder);

private:
    QHash<QString, LeftOnServer> m_left;
    QString m_tempFolder;
    UserPrompts &m_prompts;
    const Language &m_language;
    ProtocolLog *m_log;
    int m_counter = 0;
};

} // namespace Velmora
