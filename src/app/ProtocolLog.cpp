#include "ProtocolLog.h"

#include "common/OwnerOnly.h"
#include "common/TextCodec.h"
#include "common/TextReplace.h"

#include <QFile>
#include <QFileInfo>

namespace Velmora {

QString ProtocolEntry::numberText() const
{
    return QString::number(number).rightJustified(4, u'0');
}

QString ProtocolEntry::logLine() const
{
    return QString::number(kind) + u'\u00A7' + numberText() + u'\u00A7' + text;
}

ProtocolLog::ProtocolLog(QString appDataFolder, QObject *parent)
    : QObject(parent)
    , m_appDataFolder(std::move(appDataFolder))
{
}

void ProtocolLog::setWriteLogfiles(bool on)
{
    if (on && !m_writeLogfiles)
        m_rowsInLogFile = -1;
    m_writeLogfiles = on;
}

void ProtocolLog::AddProtocolMessage(int kind, const QString &text)
{
    QString shown = text;
    // The end of a listing is not a finished transfer.
    if (shown.contains(QStringLiteral("Retrieve directory listing")))
        shown = ReplaceAll(shown, QStringLiteral("Transfer completed"), QString(), true);

    ProtocolEntry entry;
    entry.kind = kind;
    entry.number = ++m_counter;
    entry.text = shown;
    m_entries.append(entry);
    Q_EMIT messageAdded(entry);

    if (m_writeLogfiles)
        SaveProtocolLog();
}

void ProtocolLog::SaveProtocolLog()
{
    const QString path = m_appDataFolder + LogFileName;
    if (m_rowsInLogFile >= 0 && m_rowsInLogFile <= m_entries.size()) {
        QString text;
        for (qsizetype i = m_rowsInLogFile; i < m_entries.size(); ++i)
            text += m_entries[i].logLine() + u"\r\n";
        // A file written as Windows-1252 must be rewritten whole as UTF-8 once a line needs it,
        // so the file always reads back the same as a full rewrite would.
        const bool fits = TextCodec::FitsWindows1252(text);
        if (m_logIsUtf8 || fits) {
            const bool existed = QFileInfo::exists(path);
            QFile file(path);
            const QByteArray bytes = m_logIsUtf8 ? text.toUtf8() : TextCodec::EncodeWindows1252(text);
            const bool opened = file.open(QIODevice::WriteOnly | QIODevice::Append);
            if (opened)
                OwnerOnly::restrictNew(file, existed);
            if (opened && file.write(bytes) == bytes.size()) {
                m_rowsInLogFile = m_entries.size();
                return;
            }
        }
    }
    QStringList lines;
    lines.reserve(m_entries.size());
    for (const ProtocolEntry &entry : m_entries)
        lines.append(entry.logLine());
    m_rowsInLogFile = TextCodec::WriteLines(path, lines) ? m_entries.size() : -1;
    m_logIsUtf8 = !TextCodec::FitsWindows1252(lines.join(QString()));
}

bool ProtocolLog::WriteLogFile(const QString &fileName, const QStringList &lines) const
{
    return TextCodec::WriteLines(m_appDataFolder + fileName, lines);
}

} // namespace Velmora
