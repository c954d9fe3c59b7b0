#include "FtpReplyParsers.h"

namespace Velmora {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads a decimal number at pos (at most 'maxDigits' digits); advances pos. -1 when no digit.
qint64 readNumber(const QByteArray &text, qsizetype &pos, int maxDigits)
{
    qint64 value = 0;
    int digits = 0;
    while (pos < text.size() && isDigit(text[pos])) {
        if (++digits > maxDigits)
            return -1;
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    return digits == 0 ? -1 : value;
}

} // namespace

std::optional<PassiveAddress> ParsePasvReply(const QByteArray &text)
{
    // Skip the reply code, then try each position where a run of six numbers could begin.
    qsizetype start = ReplyLineCode(text) >= 0 ? 3 : 0;
    for (qsizetype begin = start; begin < text.size(); ++begin) {
        if (!isDigit(text[begin]) || (begin > 0 && isDigit(text[begin - 1])))
            continue;
        qsizetype pos = begin;
        int numbers[6];
        bool ok = true;
        for (int i = 0; i < 6 && ok; ++i) {
            const qint64 value = readNumber(text, pos, 3);
            if (value < 0 || value > 255) {
                ok = false;
                break;
            }
            numbers[i] = int(value);
            if (i < 5) {
                if (pos >= text.size() || text[pos] != ',')
                    ok = false;
                else
                    ++pos;
            }
        }
        if (!ok)
            continue;
        PassiveAddress address;
        address.host = QStringLiteral("%1.%2.%3.%4").arg(numbers[0]).arg(numbers[1]).arg(numbers[2]).arg(numbers[3]);
        address.port = quint16(numbers[4] * 256 + numbers[5]);
        if (address.port == 0)
            return std::nullopt;
        return address;
    }
    return std::nullopt;
}

std::optional<quint16> ParseEpsvReply(const QByteArray &text)
{
    const qsizetype open = text.indexOf('(');
    if (open < 0 || open + 5 > text.size())
        return std::nullopt;
    const char d = text[open + 1];
    if (d < 33 || d > 126 || isDigit(d))
        return std::nullopt;
    if (text[open + 2] != d || text[open + 3] != d)
        return std::nullopt;
    qsizetype pos = open + 4;
    const qint64 port = readNumber(text, pos, 5);
    if (port <= 0 || port > 65535 || pos >= text.size() || text[pos] != d)
        return std::nullopt;
    return quint16(port);
}

std::optional<QByteArray> ParsePwdReply(const QByteArray &text)
{
    const qsizetype open = text.indexOf('"');
    if (open < 0) {
        const QByteArray trimmed = text.trimmed();
        if (trimmed.isEmpty())
            return std::nullopt;
        const qsizetype blank = trimmed.indexOf(' ');
        return blank < 0 ? trimmed : trimmed.left(blank);
    }
    QByteArray path;
    for (qsizetype i = open + 1; i < text.size(); ++i) {
        if (text[i] != '"') {
            path += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '"') {
            path += '"';
            ++i;
        } else {
            return path;
        }
    }
    return std::nullopt; // no closing quote
}

QStringList ParseFeatures(const FtpReply &reply)
{
    QStringList features;
    if (reply.code != 211)
        return features;
    for (qsizetype i = 1; i + 1 < reply.lines.size(); ++i) {
        const QByteArray line = reply.lines[i].trimmed();
        if (line.isEmpty())
            continue;
        const qsizetype blank = line.indexOf(' ');
        features.append(QString::fromLatin1(blank < 0 ? line : line.left(blank)).toUpper());
    }
    return features;
}

qint64 AnnouncedTransferSize(const QByteArray &text)
{
    qsizetype from = 0;
    while (true) {
        const qsizetype open = text.indexOf('(', from);
        if (open < 0)
            return -1;
        qsizetype pos = open + 1;
        const qint64 value = readNumber(text, pos, 18);
        if (value >= 0 && text.mid(pos, 7).compare("\x20" "bytes)", Qt::CaseInsensitive) == 0)
            return value;
        from = open + 1;
    }
}

QByteArray PortArgument(const QString &ipv4Address, quint16 port)
{
    QByteArray out = ipv4Address.toLatin1();
    out.replace('.', ',');
    return out + ',' + QByteArray::number(port >> 8) + ',' + QByteArray::number(port & 0xff);
}

QByteArray EprtArgument(const QString &address, bool ipv6, quint16 port)
{
    return QByteArray(ipv6 ? "|2|" : "|1|") + address.toLatin1() + '|' + QByteArray::number(port) + '|';
}

QDateTime ParseMdtmReply(const QByteArray &text)
{
    const QByteArray value = text.trimmed();
    if (value.size() < 14)
        return {};
    for (qsizetype i = 0; i < 14; ++i) {
        if (value[i] < '0' || value[i] > '9')
            return {};
    }
    // Fractions of a second may follow after a dot; anything else is not a time.
    if (value.size() > 14) {
        if (value[14] != '.' || value.size() == 15)
            return {};
        for (qsizetype i = 15; i < value.size(); ++i) {
            if (value[i] < '0' || value[i] > '9')
                return {};
        }
    }
    const QDateTime local = QDateTime::fromString(QString::fromLatin1(value.left(14)), QStringLiteral("yyyyMMddHHmmss"));
    if (!local.isValid())
        return {};
    QDateTime time(local.date(), local.time(), Qt::UTC);
    if (value.size() > 15)
        time = time.addMSecs(QByteArray(value.mid(15) + "00").left(3).toInt());
    return time;
}

} // namespace Velmora
