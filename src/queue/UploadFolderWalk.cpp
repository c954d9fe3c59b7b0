#include "UploadFolderWalk.h"

#include "QueueProgressView.h"
#include "QueueRecord.h"
#include "TreeWalker.h"

#include "app/AppContext.h"
#include "app/WorkControl.h"
#include "common/RemotePath.h"
#include "common/SizeText.h"
#include "engine/MasterFTP.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace Velmora {

UploadFolderWalk::UploadFolderWalk(AppContext &context, MasterFTP &ftp, WorkControl &work, QueueProgressView &view)
    : m_context(context)
    , m_ftp(ftp)
    , m_work(work)
    , m_view(view)
{
}

QStringList UploadFolderWalk::collect(const QList<SelectionLine> &lines, const QString &localBase,
                                      const QString &serverPath, const QString &dropFolder)
{
    if (!m_ftp.isConnected())
        m_ftp.Connect(false);
    m_view.setQueueInfoText(QString());
    m_view.setQueueSizeText(QString());
    m_prepareText = QStringLiteral("    ")
        + m_context.text(QStringLiteral("Prepare transfer: "), QString::fromUtf8("Übertragung vorbereiten: "));
    m_work.filesFound = 0;
    m_work.foldersFound = 0;
    m_work.totalSize = 0;

    QStringList all;
    for (const SelectionLine &line : lines) {
        if (line.kind != EntryKind::Folder || !TreeWalker::NameProblem(line.name).isEmpty())
            continue;
        const QString name = dropFolder.isEmpty() ? line.name : dropFolder + u'/' + line.name;
        const QString remote = NormaliseRemotePath(serverPath + u'/' + name);
        QStringList records{QueueRecord(QueueCommand::Mkd, remote).format()};
        const bool complete = walk(IncludeTrailingBackslash(localBase + line.name), remote, records);
        std::stable_sort(records.begin(), records.end(),
                         [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        all += records;
        if (!complete)
            break;
    }
    m_work.filesFound = 0;
    m_work.foldersFound = 0;
    m_work.totalSize = 0;
    m_view.setQueueInfoText(QString());
    return RemoveDuplicates(all);
}

bool UploadFolderWalk::walk(const QString &localFolder, const QString &remoteFolder, QStringList &records)
{
    const QFileInfoList entries =
        QDir(localFolder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (entry.isDir()) {
            // The folders the local walk of an upload enters, and no others.
            if (!entry.isSymLink() && !entry.isHidden() && !name.startsWith(u'.') && TreeWalker::NameProblem(name).isEmpty()) {
                const QString remote = NormaliseRemotePath(remoteFolder + u'/' + name);
                records.append(QueueRecord(QueueCommand::Mkd, remote).format());
                if (!walk(ToLocalPath(localFolder + name + u'/'), remote, records))
                    return false;
            }
        } else {
            m_work.totalSize += entry.size();
            QString text = m_prepareText;
            text += FormatSizeLong(m_work.totalSize);
            m_view.setQueueSizeText(text);
        }
        m_pump.pump();
        if (m_work.cancel.isCancelled())
            return false;
    }
    return true;
}

} // namespace Velmora
