#include "CopyToEachDir.h"

#include "app/ProtocolLog.h"
#include "common/RecordText.h"
#include "common/RemotePath.h"
#include "queue/QueueRecord.h"
#include "queue/TreeWalker.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

namespace Velmora {

namespace {

const QString FolderPrefix = QStringLiteral("Read folder: ");

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (!first.exists() || !second.exists())
        return false;
    return first.canonicalFilePath() == second.canonicalFilePath();
}

} // namespace

QStringList UniqueFolders(const QStringList &foldersRead)
{
    QStringList destinations;
    QSet<QString> seen;
    for (const QString &folder : foldersRead) {
        if (folder.isEmpty() || seen.contains(folder))
            continue;
        seen.insert(folder);
        destinations.append(folder);
    }
    return destinations;
}

QStringList CopyUploadRecords(const QStringList &destinations, const QStringList &sources, bool germanDates,
                              ProtocolLog &protocol, qint64 &totalBytes, qint64 &files, bool germanTexts)
{
    struct Source {
        QString path;
        QString name;
        QString entry; // "1|" name "|" size "|" date
        qint64 size;
    };
    QList<Source> usable;
    for (const QString &path : sources) {
        const QFileInfo info(path);
        const QString name = info.fileName();
        if (RecordText::holdsSeparator(path) || !TreeWalker::NameProblem(name).isEmpty()) {
            protocol.AddProtocolMessage(ProtocolEntry::Error, RecordText::skippedNameText(path, germanTexts));
            continue;
        }
        const QString date = info.lastModified().toString(germanDates ? u"dd.MM.yyyy hh:mm:ss" : u"MM/dd/yyyy hh:mm:ss");
        usable.append({path, name, QueueRecord::fileEntry(name, QString::number(info.size()), date), info.size()});
    }
    QStringList records;
    for (const QString &folder : destinations) {
        for (const Source &source : std::as_const(usable)) {
            records.append(
                QueueRecord(QueueCommand::Stor, source.path, NormaliseRemotePath(folder + u'/' + source.name), source.entry).format());
            totalBytes += source.size;
            ++files;
        }
    }
    return records;
}

LocalEachDirCopy::LocalEachDirCopy(ProtocolLog &protocol, std::function<void()> pump)
    : m_protocol(protocol)
    , m_pump(std::move(pump))
{
}

QString LocalEachDirCopy::targetPath(const QString &destination, const QString &source)
{
    return IncludeTrailingBackslash(destination) + QFileInfo(source).fileName();
}

int LocalEachDirCopy::existingTargets(const QStringList &destinations, const QStringList &sources)
{
    int count = 0;
    for (const QString &destination : destinations) {
        for (const QString &source : sources) {
            const QString target = targetPath(destination, source);
            if (QFileInfo::exists(target) && !sameFile(source, target))
                ++count;
        }
    }
    return count;
}

LocalEachDirCopy::Result LocalEachDirCopy::copy(const QStringList &destinations, const QStringList &sources,
                                                bool replaceExisting)
{
    Result result;
    for (const QString &destination : destinations) {
        for (const QString &source : sources) {
            const QString target = targetPath(destination, source);
            if (sameFile(source, target)) {
                ++result.keptExisting; // the source's own folder: it is already there
            } else if (QFileInfo::exists(target) && !replaceExisting) {
                ++result.keptExisting;
            } else if (copyOne(source, target)) {
                ++result.copied;
            } else {
                ++result.failed;
            }
            if (m_pump)
                m_pump();
        }
    }
    return result;
}

bool LocalEachDirCopy::copyOne(const QString &source, const QString &target)
{
    if (QFileInfo(target).isDir()) {
        failed(source, target, QStringLiteral("a folder of that name exists"));
        return false;
    }
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        failed(source, target, in.errorString());
        return false;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        failed(source, target, out.errorString());
        return false;
    }
    char buffer[64 * 1024];
    for (;;) {
        const qint64 read = in.read(buffer, sizeof buffer);
        if (read < 0) {
            out.cancelWriting();
            failed(source, target, in.errorString());
            return false;
        }
        if (read == 0)
            break;
        if (out.write(buffer, read) != read) {
            out.cancelWriting();
            failed(source, target, out.errorString());
            return false;
        }
    }
    if (!out.commit()) {
        failed(source, target, out.errorString());
        return false;
    }
    return true;
}

void LocalEachDirCopy::failed(const QString &source, const QString &target, const QString &why)
{
    m_protocol.AddProtocolMessage(ProtocolEntry::Error, QStringLiteral("Not copied: ") + RecordText::printable(source)
                                                            + QStringLiteral(" -> ") + RecordText::printable(target)
                                                            + QStringLiteral(" (") + why + u')');
}

} // namespace Velmora
