#pragma once

#include <QString>

#include <stdexcept>

namespace Velmora {

// Raised by the FTP client for every failure. The message is the text the engine writes to the
// protocol and shows in error boxes.
class FtpError : public std::runtime_error {
public:
    enum class Kind {
        Refused,    // the server understood the command and refused it (4xx, 5xx)
        Connection, // no connection, lost connection, time-out, invalid reply
        Local,      // the local file could not be created, read or written
        Aborted,    // the user aborted the transfer
        Incomplete, // the transfer ended, but the file on the other side is not whole
    };

    // A reply code of 400 or more makes a refusal, anything else a connection problem.
    explicit FtpError(const QString &message, int replyCode = 0)
        : FtpError(message, replyCode >= 400 ? Kind::Refused : Kind::Connection, replyCode)
    {
    }
    FtpError(const QString &message, Kind kind, int replyCode = 0)
        : std::runtime_error(message.toStdString())
        , m_message(message)
        , m_kind(kind)
        , m_replyCode(replyCode)
    {
    }

    const QString &message() const { return m_message; }
    Kind kind() const { return m_kind; }
    int replyCode() const { return m_replyCode; }
    bool isRefusal() const { return m_kind == Kind::Refused; }

private:
    QString m_message;
    Kind m_kind;
    int m_replyCode;
};

} // namespace Velmora
