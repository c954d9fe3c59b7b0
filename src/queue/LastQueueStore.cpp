#include "LastQueueStore.h"

#include "QueueTableModel.h"

#include "common/OwnerOnly.h"
#include "common/TextCodec.h"

#include <QFileInfo>
#include <QSaveFile>

namespace Velmora {

LastQueueStore::LastQueueStore(QString path)
    : m_path(std::move(path))
{
}

bool LastQueueStore::save(const QueueTableModel &model)
{
    m_file.close();
    m_spans.clear();
    m_blankLines = 0;

    const int rows = model.rowCount();
    QStringList lines;
    lines.reserve(rows);
    bool fits = true;
    for (int i = 0; i < rows; ++i) {
        lines.append(model.rowAt(i).toLine());
        fits = fits && TextCodec::FitsWindows1252(lines.last());
    }
    QByteArray bytes;
    m_spans.reserve(rows);
    for (int i = 0; i < rows; ++i) {
        const QByteArray line = fits ? TextCodec::EncodeWindows1252(lines[i]) : lines[i].toUtf8();
        m_spans.insert(model.idAt(i), Span{bytes.size(), line.size()});
        bytes += line;
        bytes += "\r\n";
    }

    const bool existed = QFileInfo::exists(m_path);
    QSaveFile file(m_path);
    const bool opened = file.open(QIODevice::WriteOnly);
    if (opened)
        OwnerOnly::restrictNew(file, existed);
    if (!opened || file.write(bytes) != bytes.size() || !file.commit()) {
        m_spans.clear();
        return false;
    }
    m_file.setFileName(m_path);
    if (!m_file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        m_spans.clear(); // the next removal writes the file whole
    return true;
}

bool LastQueueStore::rowRemoved(quint64 id, const QueueTableModel &model)
{
    const auto it = m_spans.constFind(id);
    if (it == m_spans.constEnd() || !m_file.isOpen())
        return save(model);
    const Span span = *it;
    if (!m_file.seek(span.offset) || m_file.write(QByteArray(span.length, ' ')) != span.length)
        return save(model);
    m_spans.erase(it);
    ++m_blankLines;
    if (m_blankLines > CompactThreshold && m_blankLines > m_spans.size())
        return save(model);
    return true;
}

bool LastQueueStore::compact(const QueueTableModel &model)
{
    if (m_blankLines == 0 && m_file.isOpen())
        return true;
    return save(model);
}

} // namespace Velmora
