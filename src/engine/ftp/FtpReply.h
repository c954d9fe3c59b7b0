#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace Velmora {

// One complete reply of the server: its three-digit code and its lines as received (without the
// line ends). A multi-line reply ("123-First" ... "123 Last") keeps every line.
struct FtpReply {
    int code = 0;
    QList<QByteArray> lines;

    bool isPreliminary() const { return code >= 100 && code < 200; }
    bool isSuccess() const { return code >= 200 && code < 400; }
    bool isRefusal() const { return code >= 400; }
    // The text of every line without the leading code and its separator, joined by "\n".
    QByteArray text() const;
    // The first line without its code, e.g. "UNIX Type: L8" from "215 UNIX Type: L8".
    QByteArray firstText() const;
    // The reply as one readable line: "550 No such file." (lines joined by a blank).
    QString message() const;
};

// Collects the lines of the control connection into replies (RFC 959, 4.2). Feed it one line at
// a time (without CR LF); once addLine returns Complete, take() gives the reply and the reader
// starts over.
class FtpReplyReader {
public:
    enum class State { NeedMore, Complete, Malformed };

    State addLine(const QByteArray &line);
    FtpReply take();
    bool isInsideReply() const { return m_code != 0; }

    // A reply larger than this is treated as malformed, so a hostile server cannot make the
    // client collect lines for ever.
    static constexpr qsizetype MaximumReplyBytes = 1024 * 1024;

private:
    FtpReply m_reply;
    int m_code = 0;          // code of a multi-line reply in progress
    qsizetype m_bytes = 0;
};

// The code of a reply line ("123 text" or "123-text"), or -1 when the line does not start with
// three digits followed by a blank, a hyphen or the line end.
int ReplyLineCode(const QByteArray &line);

} // namespace Velmora
