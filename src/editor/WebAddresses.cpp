#include "WebAddresses.h"

namespace Velmora {

namespace {

bool isAlphanumeric(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool endsAddress(char c)
{
    return static_cast<unsigned char>(c) <= ' ' || c == '"' || c == '\'' || c == '<' || c == '>' || c == 0x7F;
}

bool startsWithNoCase(QByteArrayView text, QByteArrayView prefix)
{
    return text.size() >= prefix.size() && text.first(prefix.size()).compare(prefix, Qt::CaseInsensitive) == 0;
}

qsizetype prefixLength(QByteArrayView rest)
{
    for (const char *prefix : {"http://", "https://", "ftp://", "mailto:", "www."}) {
        if (startsWithNoCase(rest, prefix))
            return qsizetype(qstrlen(prefix));
    }
    return 0;
}

} // namespace

QList<WebAddress> FindWebAddresses(QByteArrayView line)
{
    QList<WebAddress> found;
    const qsizetype n = line.size();
    qsizetype pos = 0;
    while (pos < n) {
        const qsizetype prefix = (pos == 0 || !isAlphanumeric(line[pos - 1])) ? prefixLength(line.sliced(pos)) : 0;
        if (prefix == 0) {
            ++pos;
            continue;
        }
        qsizetype end = pos + prefix;
        while (end < n && !endsAddress(line[end]))
            ++end;
        while (end > pos + prefix && (line[end - 1] == '.' || line[end - 1] == ',' || line[end - 1] == ';'
                                      || line[end - 1] == ':' || line[end - 1] == ')'))
            --end;
        if (end > pos + prefix)
            found.append({pos, end - pos});
        pos = end;
    }
    return found;
}

} // namespace Velmora
