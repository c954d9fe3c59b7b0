#include "SortFile.h"

#include "common/TextCodec.h"

#include <QFileInfo>

namespace Velmora {

SortFile SortFile::read(const QString &path)
{
    if (!QFileInfo::exists(path))
        return {};
    return parse(TextCodec::ReadLines(path));
}

SortFile SortFile::parse(const QStringList &lines)
{
    SortFile result;
    bool ok = false;
    const int column = lines.isEmpty() ? 0 : lines[0].trimmed().toInt(&ok);
    if (!ok) {
        result.state = State::Unreadable;
        return result;
    }
    result.state = State::Read;
    result.column = column;
    result.descending = lines.size() > 1 && lines[1].trimmed() == u"TRUE";
    return result;
}

bool SortFile::write(const QString &path, int column, bool descending)
{
    return TextCodec::WriteLines(path, {QString::number(column), descending ? QStringLiteral("TRUE") : QStringLiteral("FALSE")});
}

} // namespace Velmora
