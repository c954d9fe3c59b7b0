#include "SearchBackups.h"

#include "BackupIndex.h"
#include "BackupStore.h"
#include "SearchSession.h"
#include "SearchWindowPorts.h"

#include "app/AppContext.h"
#include "app/UserPrompts.h"

#include <QFile>
#include <QSaveFile>

namespace Velmora {

SearchBackups::SearchBackups(const AppContext &context, SearchSession &session)
    : m_context(context)
    , m_session(session)
{
}

void SearchBackups::attach(BackupStore &store, SearchWindowHost &host)
{
    m_store = &store;
    m_host = &host;
}

QString SearchBackups::make(const QString &kind, const BackupOperation &operation)
{
    if (!m_store || !m_host)
        return {};
    const QString destination = kind == BackupIndex::ServerKind ? m_host->serverPathText() : m_host->localPathText();
    const BackupStore::Created created = m_store->CreateBackup(kind, operation, destination, m_context.folders.downloadFolder());
    m_session.backupFolders.append(created.folder);
    if (created.complete())
        return created.folder;
    m_context.prompts.error(m_context.text(QStringLiteral("The backup could not be made completely, so no file was changed. Not copied: "),
                                           QStringLiteral("Die Sicherung konnte nicht vollständig angelegt werden, daher wurde keine "
                                                          "Datei geändert. Nicht kopiert: "))
                            + created.failed.join(QStringLiteral(", ")));
    return {};
}

QString SearchBackups::inBackup(const SearchEntry &entry) const
{
    const QString download = m_context.folders.downloadFolder();
    return entry.workingCopyPath.startsWith(download) ? entry.workingCopyPath.mid(download.size()) : QString();
}

void SearchBackups::reportNotCopied(const QString &relative) const
{
    m_context.prompts.error(m_context.text(QStringLiteral("The backup could not be made completely. Not copied: "),
                                           QStringLiteral("Die Sicherung konnte nicht vollständig angelegt werden. Nicht kopiert: "))
                            + relative);
}

void SearchBackups::keepChanged(const QString &backup, bool onServer)
{
    QStringList changed;
    for (int row : m_session.changedRows())
        changed << inBackup(m_session.entries().at(row));
    BackupStore::KeepOnly(backup, changed);
    if (!onServer)
        return; // a local file was copied back at once: the working copy was what it held
    for (int row : m_session.changedRows()) {
        const SearchEntry &entry = m_session.entries().at(row);
        const QString relative = inBackup(entry);
        if (relative.isEmpty())
            continue;
        const QString serverCopy = m_session.serverCopyOf(entry.workingCopyPath);
        if (serverCopy.isEmpty()) {
            m_session.rememberServerCopy(entry.workingCopyPath, backup + relative);
            continue;
        }
        // Changed before in this window: the copy the backup took is no version the server has.
        QFile::remove(backup + relative);
        if (!QFile::copy(serverCopy, backup + relative))
            reportNotCopied(relative);
    }
}

void SearchBackups::keepEdited(const QString &backup, const SearchEntry &entry, const QByteArray &original, bool onServer)
{
    const QString relative = inBackup(entry);
    BackupStore::KeepOnly(backup, {relative});
    if (relative.isEmpty())
        return;
    // The editor has saved already, so the copy the backup took is replaced by the bytes from
    // before the edit; on the server side, by what the server has.
    QByteArray kept = original;
    if (onServer) {
        QFile serverCopy(m_session.serverCopyOf(entry.workingCopyPath));
        if (serverCopy.open(QIODevice::ReadOnly))
            kept = serverCopy.readAll();
        else
            m_session.rememberServerCopy(entry.workingCopyPath, backup + relative);
    }
    QSaveFile saved(backup + relative);
    if (!saved.open(QIODevice::WriteOnly) || saved.write(kept) != kept.size() || !saved.commit())
        reportNotCopied(relative);
}

void SearchBackups::forgetUntouched(const QStringList &workingCopies)
{
    const QString download = m_context.folders.downloadFolder();
    for (const QString &copy : workingCopies) {
        if (!copy.startsWith(download))
            continue;
        for (const QString &folder : std::as_const(m_session.backupFolders)) {
            QFile::remove(folder + copy.mid(download.size()));
            BackupStore::KeepOnly(folder, BackupStore::FilesOf(folder)); // folders left empty go
        }
    }
}

} // namespace Velmora
