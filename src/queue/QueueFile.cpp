#include "QueueFile.h"

#include "common/OwnerOnly.h"
#include "common/TextCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace Velmora {

QueueFile::Content QueueFile::parse(const QByteArray &bytes)
{
    Content content;
    int line = 1;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\n')
            ++line;
        else if (b < 0x20 && b != '\r' && b != '\t') {
            content.status = Status::NotText;
            content.badLine = line;
            return content;
        }
    }
    const QStringList lines = TextCodec::SplitLines(TextCodec::Decode(bytes));
    content.rows.reserve(lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        if (!QueueRow::isBlankLine(lines[i])) {
            content.rows.append(QueueRow::fromLine(lines[i]));
            content.rowLines.append(i + 1);
        }
    }
    return content;
}

QueueFile::Content QueueFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Content content;
        content.status = QFileInfo::exists(path) ? Status::Unreadable : Status::Missing;
        return content;
    }
    return parse(file.readAll());
}

QByteArray QueueFile::encode(const QList<QueueRow> &rows)
{
    QString text;
    for (const QueueRow &row : rows) {
        text += row.toLine();
        text += u"\r\n";
    }
    return TextCodec::Encode(text);
}

bool QueueFile::write(const QString &path, const QList<QueueRow> &rows)
{
    const bool existed = QFileInfo::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    OwnerOnly::restrictNew(file, existed);
    const QByteArray bytes = encode(rows);
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

} // namespace Velmora
