#pragma once

#include "FtpReply.h"

#include <QHostAddress>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QSslSocket>

#include <atomic>
#include <memory>
#include <optional>

namespace Velmora {

// The control connection, driven with blocking calls from the worker thread. Every wait runs in
// short slices so that shutting the client down never waits for a time-out.
class FtpControlChannel {
public:
    explicit FtpControlChannel(const std::atomic_bool &stopping);
    ~FtpControlChannel();

    // Connects within timeoutMs; raises FtpError.
    void open(const QString &host, quint16 port, int timeoutMs);
    void close();
    bool isOpen() const;

    // Sends one command line (CR LF is added); raises FtpError when the connection is gone.
    void send(const QByteArray &line, int timeoutMs);
    // Waits for the next complete reply; the time-out restarts whenever bytes arrive. A time-out,
    // a closed connection or a malformed reply closes the connection and raises FtpError.
    FtpReply readReply(int timeoutMs);
    // Like readReply, but a time-out only gives nothing and keeps the connection.
    std::optional<FtpReply> tryReadReply(int timeoutMs);
    // Drops replies nobody waits for (a late answer to ABOR, a "421" idle notice), so they can
    // never be taken for the answer to the next command.
    void discardUnreadReplies();

    QHostAddress peerAddress() const;
    QHostAddress localAddress() const;
    QTcpSocket *socket() const { return m_socket.get(); }

    // TLS on the open connection (after "234" to AUTH TLS, or at once for implicit TLS); the host
    // name is what the certificate must name. Verification problems are collected in *errors
    // (see FtpTls::Handshake). Raises FtpError and closes the connection when it fails.
    void startTls(const QString &verifyName, int timeoutMs, QList<QSslError> *errors);
    bool isEncrypted() const { return m_socket && m_socket->isEncrypted(); }
    QSslCertificate peerCertificate() const;
    // The configuration with the current TLS session, for data connections to resume it.
    QSslConfiguration tlsConfiguration() const;
    // "TLSv1.3, TLS_AES_256_GCM_SHA384" while encrypted, else empty.
    QString tlsSessionText() const;

    static constexpr qsizetype MaximumLineBytes = 64 * 1024;

private:
    enum class Wait { Line, TimedOut };
    Wait waitForLine(QByteArray &line, int timeoutMs);

    const std::atomic_bool &m_stopping;
    std::unique_ptr<QSslSocket> m_socket; // plain TCP until startTls
    bool m_opening = false;       // open() waits for the connection in a local event loop
    bool m_closeRequested = false; // close() was called from inside that wait
    FtpReplyReader m_reader;
};

} // namespace Velmora
