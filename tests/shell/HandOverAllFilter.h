#pragma once

#include "app/AppContext.h"
#include "common/RecordText.h"
#include "common/RemotePath.h"
#include "common/TextCodec.h"
#include "common/Word.h"
#include "queue/AsciiFileRule.h"
#include "queue/LocalFolders.h"
#include "queue/QueueHost.h"
#include "queue/QueueRecord.h"
#include "queue/TransferPorts.h"

#include <QDir>

namespace Velmora::Testing {

// The filter window's second step without its window: every text file of the collection is
// handed over (the real window lets the user narrow them first).
class HandOverAllFilter : public TransferFilter {
public:
    HandOverAllFilter(AppContext &context, QueueHost &window)
        : m_context(context)
        , m_window(window)
    {
    }
    bool isInUse() const override { return true; }
    std::optional<QStringList> chooseRecords(FilterWindowMode mode, const QStringList &records) override
    {
        modes << mode;
        const QString download = m_context.folders.downloadFolder();
        QDir(download).removeRecursively();
        QDir().mkpath(download);
        const QString box = IncludeTrailingBackslash(m_window.localPathText());
        QStringList queue;
        QStringList handOver;
        for (const QString &text : records) {
            const QueueRecord record = QueueRecord::parse(text);
            const bool download = record.command == QueueCommand::Retr;
            if (!download && record.command != QueueCommand::Stor)
                continue;
            const QString local = download ? record.target : record.source;
            if (!IsAsciiFile(local))
                continue;
            const QString entry = QString(RecordText::EntrySeparator) + QStringLiteral("1|") + LocalFileName(local) + u'|'
                + Word(3, record.entry, u"|") + u'|' + Word(4, record.entry, u"|");
            handOver << record.word() + u'|' + record.source + u'|' + record.target + entry;
            queue << (download ? QStringLiteral("RETR|") + record.source + u'|'
                              + WorkingCopyPath(local, box, m_context.folders.downloadFolder()) + entry
                               : handOver.constLast());
        }
        TextCodec::WriteLines(m_context.folders.tempFolder + QStringLiteral("SEARCH_QUEUE.TXT"), handOver);
        return queue;
    }
    QString chosenRemoteFile() const override { return {}; }
    QString chosenLocalFile() const override { return {}; }

    QList<FilterWindowMode> modes;

private:
    AppContext &m_context;
    QueueHost &m_window;
};

} // namespace Velmora::Testing
