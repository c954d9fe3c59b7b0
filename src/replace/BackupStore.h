#pragma once

#include <QString>
#include <QStringList>

namespace Velmora {

class BackupDeletionView;
class Language;
class ProtocolLog;
class UserPrompts;

// The search-and-replace backups in the temporary folder: "BACKUP001", "BACKUP002", ... They
// last as long as the program run and the server: deleted at start, and after a question
// before the host changes and before the program ends.
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
    bool DeleteAllBackups(const QString &question, BackupDeletionView &view) const;

private:
    QString m_tempFolder;
    UserPrompts &m_prompts;
    const Language &m_language;
    ProtocolLog *m_log;
};

} // namespace Velmora
