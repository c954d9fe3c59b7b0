#include "LocalFolders.h"

#include "QueueRecord.h"

#include "app/ProtocolLog.h"
#include "common/RecordText.h"
#include "common/RemotePath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Velmora {

namespace {

bool makeFolder(const QString &folder, ProtocolLog &protocol)
{
    if (QFileInfo(folder).isDir() || QDir().mkpath(folder))
        return true;
    protocol.AddProtocolMessage(ProtocolEntry::Error,
                                QStringLiteral("Could not create the local folder ") + RecordText::printable(folder));
    return false;
}

} // namespace

bool CreateLocalFolders(const QStringList &records, ProtocolLog &protocol)
{
    bool all = true;
    for (const QString &folder : LocalFoldersToCreate(records))
        all = makeFolder(folder, protocol) && all;
    return all;
}

QString WorkingCopyPath(const QString &path, const QString &localPathBox, const QString &downloadFolder)
{
    const QString box = IncludeTrailingBackslash(localPathBox);
    return path.startsWith(box) ? downloadFolder + path.mid(box.size()) : path;
}

void MakeLocalSearchCopies(const QStringList &records, const QString &localPathBox, const QString &downloadFolder,
                           ProtocolLog &protocol)
{
    QStringList sources;
    QStringList folders;
    for (const QString &record : records) {
        const QueueRecord parsed = QueueRecord::parse(record);
        if (parsed.source.isEmpty())
            continue;
        sources.append(parsed.source);
        const QString copy = WorkingCopyPath(parsed.source, localPathBox, downloadFolder);
        folders.append(copy.left(copy.lastIndexOf(u'/') + 1));
    }
    for (const QString &folder : RemoveDuplicates(folders))
        makeFolder(folder, protocol);
    for (const QString &source : std::as_const(sources)) {
        const QString copy = WorkingCopyPath(source, localPathBox, downloadFolder);
        if (copy == source)
            continue;
        QFile::remove(copy);
        if (!QFile::copy(source, copy))
            protocol.AddProtocolMessage(ProtocolEntry::Error,
                                        QStringLiteral("Could not copy ") + RecordText::printable(source));
    }
}

} // namespace Velmora
