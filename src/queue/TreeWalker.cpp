#include "TreeWalker.h"

#include "LastQueueStore.h"
#include "PartialDownload.h"
#include "QueueHost.h"
#include "QueueProgressView.h"
#include "QueueRecord.h"
#include "QueueRunner.h"
#include "WalkProgress.h"

#include "app/AppContext.h"
#include "common/ListingEntry.h"
#include "common/RecordText.h"
#include "app/ProtocolLog.h"
#include "app/WorkControl.h"
#include "common/RemotePath.h"
#include "common/Word.h"
#include "engine/ftp/FtpError.h"
#include "engine/MasterFTP.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QQueue>

#include <algorithm>
#include <utility>

namespace Velmora {

namespace {

QString joinRemote(const QString &folder, const QString &name)
{
    if (name.isEmpty())
        return folder;
    return folder.endsWith(u'/') ? QString(folder + name) : QString(folder + u'/' + name);
}

// Pending window messages are processed after every (N div 300 + 1)-th record of a listing of
// N records: small folders after every record, very large ones not so often that the window's
// message handling dominates.
class Pump {
public:
    explicit Pump(qsizetype records)
        : m_every(records / 300 + 1)
    {
    }
    void step()
    {
        if (++m_count % m_every == 0)
            QCoreApplication::processEvents();
    }

private:
    qsizetype m_every;
    qsizetype m_count = 0;
};

// Folders to remove: a folder comes after every folder beneath it; siblings in case-insensitive
// order.
void sortDeepestFirst(QList<QueueRecord> &paths)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QStringList> split;
    split.reserve(size_t(paths.size()));
    std::vector<qsizetype> order(size_t(paths.size()));
    for (qsizetype i = 0; i < paths.size(); ++i) {
        split.push_back(Words(paths[i].source, u"/"));
        order[size_t(i)] = i;
    }
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const QStringList &x = split[size_t(a)];
        const QStringList &y = split[size_t(b)];
        for (qsizetype k = 0; k < x.size() && k < y.size(); ++k) {
            const int c = collator.compare(x[k], y[k]);
            if (c != 0)
                return c < 0;
            if (x[k] != y[k])
                return x[k] < y[k];
        }
        return x.size() > y.size(); // the deeper path first
    });
    QList<QueueRecord> sorted;
    sorted.reserve(paths.size());
    for (qsizetype i : order)
        sorted.append(paths[i]);
    paths = sorted;
}

} // namespace

TreeWalker::TreeWalker(AppContext &context, MasterFTP &ftp, WorkControl &work, QueueHost &window, QueueRunner &runner)
    : m_context(context)
    , m_ftp(ftp)
    , m_work(work)
    , m_window(window)
    , m_runner(runner)
{
}

QString TreeWalker::NameProblem(const QString &name)
{
    if (name.contains(QueueRecord::CollectedFileSeparator))
        return QStringLiteral("contains a character that records cannot hold");
    // Blanks at the start or end of a name travel as they are: record readers keep them.
    return RecordText::nameProblem(name);
}

void TreeWalker::refuse(const QString &path)
{
    m_context.protocol.AddProtocolMessage(ProtocolEntry::Error, RecordText::skippedNameText(path, m_context.language.isGerman()));
}

void TreeWalker::progressLine(const QString &line)
{
    if (m_progress) {
        const WorkControl &w = m_work;
        m_progress->addProgressLine(line, w.filesFound, w.totalSize, w.foldersFound);
    }
}

void TreeWalker::folderRead(const QString &path)
{
    progressLine(QStringLiteral("Read folder: ") + path);
    m_foldersRead.append(path);
}

QStringList TreeWalker::takeFoldersRead()
{
    return std::exchange(m_foldersRead, {});
}

void TreeWalker::CollectDownload(QStringList &retrRecords, QStringList &mkLocalDirRecords, const QString &localTarget,
                                 const QString &remoteRoot)
{
    WorkControl &work = m_work;
    const QString root = NormaliseRemotePath(remoteRoot);
    for (const QString &path : {localTarget, root}) {
        if (RecordText::holdsSeparator(path)) {
            refuse(path);
            return;
        }
    }
    ftp().EnsureConnected();
    const QString target = IncludeTrailingBackslash(localTarget);
    mkLocalDirRecords.append(QueueRecord(QueueCommand::MkLocalDir, localTarget).format());

    const auto below = [&root](const QString &folder) {
        // The part of the folder after the root: the root is removed as a prefix only.
        return folder.startsWith(root, Qt::CaseInsensitive) ? folder.mid(root.size()) : folder;
    };
    QString current = root;
    QString relative;
    QQueue<QString> pending;
    for (;;) {
        QStringList records;
        ftp().GetListing(current, records);
        folderRead(current);
        if (work.cancel.isCancelled()) // also when the listing failed because Disconnect cut it off
            return;
        Pump pump(records.size());
        for (const QString &record : std::as_const(records)) {
            const ListingEntry entry = ListingEntry::parse(record);
            const QString remote = joinRemote(current, entry.name);
            if (!entry.name.isEmpty() && !NameProblem(entry.name).isEmpty()) {
                refuse(remote);
            } else if (entry.kind == EntryKind::Folder) {
                pending.enqueue(remote);
                ++work.foldersFound;
                mkLocalDirRecords.append(
                    QueueRecord(QueueCommand::MkLocalDir, ToLocalPath(target + relative + u'/' + entry.name)).format());
                folderRead(remote);
            } else if (!entry.name.isEmpty()) {
                const QString local = ToLocalPath(target + below(current) + u'/' + entry.name);
                retrRecords.append(QueueRecord(QueueCommand::Retr, remote, local, record).format());
                work.totalSize += entry.size;
                ++work.filesFound;
                progressLine(QStringLiteral("Read file: ") + remote + u'|' + local);
            }
            if (work.cancel.isCancelled())
                return;
            pump.step();
        }
        if (pending.isEmpty())
            break;
        current = pending.dequeue();
        relative = ToLocalPath(below(current));
        folderRead(current);
    }
    ++work.foldersFound;
    folderRead(current);
}

QStringList TreeWalker::CollectDelete(const QString &currentFolder, const QString &targetFolder)
{
    WorkControl &work = m_work;
    ftp().EnsureConnected();
    m_runner.clearQueue();

    QString ownRecord;
    {
        QStringList records;
        ftp().GetListing(currentFolder, records);
        for (const QString &record : std::as_const(records)) {
            if (joinRemote(currentFolder, ListingEntry::parse(record).listedName()) == targetFolder) {
                ownRecord = record;
                break;
            }
        }
    }

    QString dir = NormaliseRemotePath(targetFolder);
    QQueue<QString> pending;
    QList<QueueRecord> files;
    QList<QueueRecord> folders;
    bool aborted = false;
    while (!aborted) {
        QStringList records;
        ftp().GetListing(dir, records);
        progressLine(QStringLiteral("Read folder: ") + dir);
        if (work.cancel.isCancelled())
            break;
        Pump pump(records.size());
        for (const QString &record : std::as_const(records)) {
            const ListingEntry entry = ListingEntry::parse(record);
            const QString path = NormaliseRemotePath(joinRemote(dir, entry.name));
            if (!entry.name.isEmpty() && !NameProblem(entry.name).isEmpty()) {
                refuse(path);
            } else if (entry.kind == EntryKind::Folder) {
                pending.enqueue(joinRemote(dir, entry.name));
                ++work.foldersFound;
                progressLine(QStringLiteral("Read folder: ") + path);
                folders.append(QueueRecord(QueueCommand::Rmd, path, {}, record));
            } else if (!entry.name.isEmpty()) {
                work.totalSize += entry.size;
                ++work.filesFound;
                progressLine(QStringLiteral("Read file: ") + path);
                files.append(QueueRecord(QueueCommand::Dele, path, {}, record));
            }
            if (work.cancel.isCancelled()) {
                aborted = true;
                break;
            }
            pump.step();
        }
        if (aborted || pending.isEmpty())
            break;
        dir = pending.dequeue();
        ++work.foldersFound;
        progressLine(QStringLiteral("Read folder: ") + NormaliseRemotePath(dir));
    }

    QStringList queue;
    if (!work.cancel.isCancelled()) {
        for (const QueueRecord &file : std::as_const(files))
            queue.append(file.format());
        sortDeepestFirst(folders);
        for (const QueueRecord &folder : std::as_const(folders))
            queue.append(folder.format());
        queue.append(QueueRecord(QueueCommand::Rmd, NormaliseRemotePath(targetFolder), {}, ownRecord).format());
    }

    const QString back = NormaliseRemotePath(currentFolder);
    try {
        ftp().client().changeDirectory(back);
    } catch (const FtpError &error) {
        m_context.protocol.AddProtocolMessage(ProtocolEntry::Error, error.message());
    }
    m_window.setServerPathText(back);
    return queue;
}

void TreeWalker::CollectChmod(const QString &mode, const QString &currentFolder, bool filesOnly, bool directoriesOnly,
                              bool all, bool recursive, const QString &start)
{
    WorkControl &work = m_work;
    ftp().EnsureConnected();
    m_runner.clearQueue();

    QString dir = NormaliseRemotePath(start);
    QQueue<QString> pending;
    QStringList found; // "F" or "D" + path
    for (;;) {
        m_window.showServerFolder(dir);
        QStringList records;
        ftp().GetListing(dir, records);
        if (recursive) {
            Pump pump(records.size());
            for (const QString &record : std::as_const(records)) {
                const ListingEntry entry = ListingEntry::parse(record);
                // A link is never changed: SITE CHMOD would change what it points to, which
                // may lie outside the tree the user chose.
                if (entry.kind == EntryKind::Link)
                    continue;
                const QString path = NormaliseRemotePath(joinRemote(dir, entry.name));
                if (!entry.name.isEmpty() && !NameProblem(entry.name).isEmpty()) {
                    refuse(path);
                } else if (entry.kind == EntryKind::Folder) {
                    pending.enqueue(joinRemote(dir, entry.name));
                    found.append(u'D' + path);
                } else if (!entry.name.isEmpty()) {
                    found.append(u'F' + path);
                }
                if (work.cancel.isCancelled())
                    break;
                pump.step();
            }
        }
        if (work.cancel.isCancelled() || pending.isEmpty())
            break;
        dir = pending.dequeue();
    }

    QStringList queue;
    for (const QString &entry : std::as_const(found)) {
        const bool isFile = entry.startsWith(u'F');
        if ((isFile && (all || filesOnly)) || (!isFile && (all || directoriesOnly)))
            queue.append(QueueRecord(QueueCommand::Chmod, entry.mid(1), mode).format());
    }
    if (all || directoriesOnly)
        queue.append(QueueRecord(QueueCommand::Chmod, NormaliseRemotePath(start), mode).format());
    // After Abort the collected records do not run.
    if (!work.cancel.isCancelled()) {
        RunPlan plan;
        plan.records = queue;
        m_runner.RunQueue(plan);
    }

    const QString back = NormaliseRemotePath(currentFolder);
    try {
        ftp().EnsureConnected();
        ftp().client().changeDirectory(back);
    } catch (const FtpError &error) {
        m_context.protocol.AddProtocolMessage(ProtocolEntry::Error, error.message());
    }
    m_window.setServerPathText(back);
    m_runner.view().hideCharts();
}

QString TreeWalker::dateText(const QDateTime &time) const
{
    if (!time.isValid())
        return {};
    return time.toString(m_context.systemIsGerman ? u"dd.MM.yyyy hh:mm:ss" : u"MM/dd/yyyy hh:mm:ss");
}

void TreeWalker::CollectLocal(const QString &pattern, QStringList &collected)
{
    const qsizetype cut = pattern.lastIndexOf(u'/');
    const QString folder = pattern.left(cut + 1);
    QString mask = pattern.mid(cut + 1);
    walkLocal(folder, mask, collected);
}

bool TreeWalker::walkLocal(const QString &folder, const QString &mask, QStringList &collected)
{
    WorkControl &work = m_work;
    QDir dir(folder);
    // "*.*" means every file, as it does on the systems the queue files come from.
    const QStringList filters{mask.isEmpty() || mask == u"*.*" ? QStringLiteral("*") : mask};
    const QFileInfoList files =
        dir.entryInfoList(filters, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QFileInfo &file : files) {
        const QString name = file.fileName();
        if (PartialDownload::isWorkFileName(name)) {
            // A download in progress is no file of the user's to send.
        } else if (!NameProblem(name).isEmpty() || RecordText::holdsSeparator(folder)) {
            refuse(folder + name);
        } else {
            collected.append(
                CollectedFile{folder + name, QueueRecord::fileEntry(name, QString::number(file.size()), dateText(file.lastModified()))}
                    .format());
            ++work.filesFound;
            work.totalSize += file.size();
            progressLine(QStringLiteral("Read file: ") + folder + name);
        }
        m_localPump.pump();
        if (work.cancel.isCancelled())
            return false;
    }
    const QFileInfoList folders = dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Unsorted);
    for (const QFileInfo &sub : folders) {
        const QString name = sub.fileName();
        if (name.startsWith(u'.') || sub.isHidden())
            continue;
        if (!NameProblem(name).isEmpty()) {
            refuse(folder + name);
            continue;
        }
        ++work.foldersFound;
        folderRead(folder + name);
        m_localPump.pump();
        if (work.cancel.isCancelled())
            return false;
        if (!walkLocal(folder + name + u'/', mask, collected))
            return false;
    }
    return true;
}

} // namespace Velmora
