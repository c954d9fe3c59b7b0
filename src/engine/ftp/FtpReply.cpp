#include "FtpReply.h"

#include "common/TextCodec.h"

namespace Velmora {

namespace {

QByteArray lineText(const QByteArray &line, int code)
{
    if (code >= 0 && line.size() >= 3 && ReplyLineCode(line) == code)
        return line.mid(4);
    return line; // inner lines of a multi-line reply may carry no code
}

} // namespace

int ReplyLineCode(const QByteArray &line)
{
    if (line.size() < 3)
        return -1;
    for (int i = 0; i < 3; ++i) {
        if (line[i] < '0' || line[i] > '9')
            return -1;
    }
    if (line.size() > 3 && line[3] != ' ' && line[3] != '-')
        return -1;
    return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

QByteArray FtpReply::text() const
{
    QByteArray out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            out += '\n';
        out += lineText(lines[i], code);
    }
    return out;
}

QByteArray FtpReply::firstText() const
{
    return lines.isEmpty() ? QByteArray() : lineText(lines.first(), code);
}

QString FtpReply::message() const
{
    QString out = QString::number(code);
    for (const QByteArray &line : lines) {
        const QString part = TextCodec::Decode(lineText(line, code)).trimmed();
        if (!part.isEmpty())
            out += u' ' + part;
    }
    return out;
}

FtpReplyReader::State FtpReplyReader::addLine(const QByteArray &line)
{
    m_bytes += line.size() + 2;
    if (m_bytes > MaximumReplyBytes) {
        *this = FtpReplyReader();
        return State::Malformed;
    }
    const int code = ReplyLineCode(line);
    if (m_code == 0) {
        // First line of a reply: it must carry a code.
        if (code < 100 || code > 599) {
            *this = FtpReplyReader();
            return State::Malformed;
        }
        m_reply.code = code;
        m_reply.lines.append(line);
        if (line.size() > 3 && line[3] == '-') {
            m_code = code;
            return State::NeedMore;
        }
        return State::Complete;
    }
    m_reply.lines.append(line);
    // The last line repeats the code followed by a blank (or nothing at all).
    if (code == m_code && (line.size() == 3 || line[3] == ' ')) {
        m_code = 0;
        return State::Complete;
    }
    return State::NeedMore;
}

FtpReply FtpReplyReader::take()
{
    FtpReply reply = std::move(m_reply);
    m_reply = FtpReply();
    m_code = 0;
    m_bytes = 0;
    return reply;
}

} // namespace Velmora
