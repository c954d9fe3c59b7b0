#include "BackupStore.h"

#include "BackupDeletionView.h"

#include "app/ProtocolLog.h"
#include "app/UserPrompts.h"
#include "common/Language.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Velmora {

BackupStore::BackupStore(QString tempFolder, UserPrompts &prompts, const Language &language, ProtocolLog *log)
    : m_tempFolder(std::move(tempFolder))
    , m_prompts(prompts)
    , m_language(language)
    , m_log(log)
{
}

QString BackupStore::FolderName(int number)
{
    return QStringLiteral("BACKUP") + QString::number(number).rightJustified(3, u'0');
}

bool BackupStore::hasBackups() const
{
    return QFileInfo(m_tempFolder + FolderName(1)).isDir();
}

QStringList BackupStore::backupFolders() const
{
    const QDir temp(m_tempFolder);
    QStringList folders;
    const QFileInfoList entries = temp.entryInfoList({QStringLiteral("BACKUP*")},
                                                     QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::CaseSensitive,
                                                     QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (!entry.fileName().startsWith(u'.'))
            folders.append(m_tempFolder + entry.fileName() + u'/');
    }
    return folders;
}

bool BackupStore::DeleteAllBackups(const QString &question, BackupDeletionView &view) const
{
    if (!hasBackups())
        return true;
    if (!question.isEmpty() && !m_prompts.confirm(question))
        return false;
    view.deletionStarted();
    const QString prefix = m_language.text(QStringLiteral("Delete:"), QString::fromUtf8("Löschen:")) + u' ';
    for (const QString &folder : backupFolders()) {
        view.lineAdded(prefix + folder);
        const QString path = folder.chopped(1);
        // A link is removed itself; what it points to is not a backup.
        const bool removed = QFileInfo(path).isSymLink() ? QFile::remove(path) : QDir(path).removeRecursively();
        if (!removed && m_log) {
            m_log->AddProtocolMessage(ProtocolEntry::Error,
                                      m_language.text(QStringLiteral("The backup folder could not be deleted completely: "),
                                                      QString::fromUtf8("Der Backup-Ordner konnte nicht vollständig gelöscht werden: "))
                                          + folder);
        }
    }
    view.deletionFinished();
    return true;
}

} // namespace Velmora
