#include "BackupStore.h"

#include "BackupDeletionView.h"

#include "app/ProtocolLog.h"
#include "app/UserPrompts.h"
#include "common/Language.h"
#include "common/TextCodec.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>

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

bool BackupStore::DeleteAllBackups(const QString &question, BackupDeletionView &view)
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
    if (!hasBackups())
        m_counter = 0;
    return true;
}

void BackupStore::CopyTree(const QString &from, const QString &to, QStringList &failed, const QString &relative)
{
    const QDir source(from + relative);
    const QFileInfoList entries = source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                                       QDir::Name);
    for (const QFileInfo &entry : entries) {
        const QString path = relative + entry.fileName();
        if (entry.isDir()) {
            if (entry.isSymLink())
                continue;
            if (!QDir().mkpath(to + path))
                failed.append(path + u'/');
            else
                CopyTree(from, to, failed, path + u'/');
            continue;
        }
        const QString target = to + path;
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
            QFile::remove(target);
        if (!QFile::copy(entry.filePath(), target))
            failed.append(path);
    }
}

BackupStore::Created BackupStore::CreateBackup(const QString &kind, const BackupOperation &operation,
                                               const QString &destination, const QString &workingFolder)
{
    ++m_counter;
    Created created;
    created.folder = m_tempFolder + FolderName(m_counter) + u'/';
    if (!QDir().mkpath(created.folder)) {
        created.failed.append(created.folder);
        return created;
    }
    CopyTree(workingFolder, created.folder, created.failed);

    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    BackupIndex index;
    index.time = locale.toString(now.date(), QLocale::ShortFormat) + u' ' + locale.toString(now.time(), QLocale::LongFormat);
    index.kind = kind;
    index.operation = operation.caption;
    index.detail1 = operation.detail1;
    index.detail2 = operation.detail2;
    index.backupPath = created.folder;
    index.destinationPath = destination;
    if (!TextCodec::WriteLines(created.folder + BackupIndex::FileName, index.lines()))
        created.failed.append(BackupIndex::FileName);
    return created;
}

namespace {

void collectIndexFiles(const QString &folder, QStringList &found)
{
    const QDir dir(folder);
    const QFileInfoList files = dir.entryInfoList({QStringLiteral("*.VELMORA")}, QDir::Files | QDir::Hidden, QDir::Name);
    for (const QFileInfo &file : files)
        found.append(file.filePath());
    const QFileInfoList folders = dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo &sub : folders)
        collectIndexFiles(sub.filePath(), found);
}

} // namespace

QList<BackupIndex> BackupStore::ListBackups() const
{
    QStringList files;
    collectIndexFiles(m_tempFolder, files);
    QList<BackupIndex> backups;
    for (const QString &file : std::as_const(files))
        backups.append(BackupIndex::fromLines(TextCodec::ReadLines(file)));
    return backups;
}

QStringList BackupStore::RestoreLocal(const BackupIndex &index) const
{
    QStringList failed;
    // An index edited by hand must not make the current folder the source.
    if (index.backupPath.isEmpty() || !QFileInfo(index.backupPath).isDir())
        return {index.backupPath};
    const QString destination = index.destinationPath.endsWith(u'/') ? index.destinationPath : index.destinationPath + u'/';
    if (index.destinationPath.isEmpty() || !QDir().mkpath(destination))
        return {destination};
    CopyTree(index.backupPath, destination, failed);
    return failed;
}

namespace {

// Removes below folder every file not named in keep (relative to root); true when folder is
// empty afterwards.
bool pruneTree(const QString &root, const QString &folder, const QSet<QString> &keep)
{
    bool empty = true;
    const QDir dir(folder);
    for (const QFileInfo &entry : dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString relative = entry.filePath().mid(root.size());
        if (entry.isDir() && !entry.isSymLink()) {
            if (pruneTree(root, entry.filePath(), keep))
                QDir(folder).rmdir(entry.fileName());
            else
                empty = false;
        } else if (keep.contains(relative)) {
            empty = false;
        } else if (!QFile::remove(entry.filePath())) {
            empty = false;
        }
    }
    return empty;
}

} // namespace

void BackupStore::KeepOnly(const QString &backupFolder, const QStringList &changedFiles)
{
    QSet<QString> keep(changedFiles.cbegin(), changedFiles.cend());
    keep.insert(BackupIndex::FileName);
    pruneTree(backupFolder, backupFolder, keep);
}

void BackupStore::rememberLeft(const QString &remotePath, const ListingEntry &entry, const QDateTime &when)
{
    m_left.insert(remotePath, {entry, when});
}

std::optional<BackupStore::LeftOnServer> BackupStore::leftAt(const QString &remotePath) const
{
    const auto found = m_left.constFind(remotePath);
    if (found == m_left.constEnd())
        return std::nullopt;
    return *found;
}

QStringList BackupStore::FilesOf(const QString &backupFolder)
{
    QStringList files;
    QDirIterator it(backupFolder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (QFileInfo(path).fileName() != BackupIndex::FileName)
            files.append(path.mid(backupFolder.size()));
    }
    files.sort();
    return files;
}

bool BackupStore::HoldsNoFiles(const QString &backupFolder)
{
    QDirIterator it(backupFolder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        if (QFileInfo(it.next()).fileName() != BackupIndex::FileName)
            return false;
    }
    return true;
}

} // namespace Velmora
