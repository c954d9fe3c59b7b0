#pragma once

#include <QString>

#include <stdexcept>

namespace Velmora {

// Raised by the SFTP client for every failure. The message is the text the engine writes to the
// protocol and shows in error boxes.
class SftpError : public std::runtime_error {
public:
    enum class Kind {
        Refused,        // the server understood the request and refused it (no such file, no right)
        Connection,     // no connection, lost connection, time-out, broken reply
        HostKey,        // the server's host key is not trusted, or it has changed
        Authentication, // the server accepted none of the ways to log in
        Local,          // the local file could not be created, read or written
        Aborted,        // the user aborted the transfer or cancelled the connection
    };

    SftpError(const QString &message, Kind kind)
        : std::runtime_error(message.toStdString())
        , m_message(message)
        , m_kind(kind)
    {
    }

    const QString &message() const { return m_message; }
    Kind kind() const { return m_kind; }
    bool isRefusal() const { return m_kind == Kind::Refused; }

private:
    QString m_message;
    Kind m_kind;
};

} // namespace Velmora
