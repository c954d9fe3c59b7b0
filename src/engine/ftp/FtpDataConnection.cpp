#include "FtpDataConnection.h"

#include "AsciiConverter.h"
#include "FtpError.h"
#include "FtpTls.h"

#include <QDeadlineTimer>
#include <QTcpServer>
#include <QSslSocket>
#include <QTcpSocket>

#include <vector>

namespace Velmora {

namespace {

constexpr int SliceMs = 50;
constexpr qint64 ChunkBytes = 256 * 1024;
constexpr qint64 SendBufferLimit = 1024 * 1024;

int slice(const QDeadlineTimer &deadline)
{
    return int(qMin<qint64>(SliceMs, qMax<qint64>(1, deadline.remainingTime())));
}

// Takes incoming data connections as TLS-capable sockets; the client still speaks first in the
// handshake, as in passive mode.
class TlsAcceptingServer : public QTcpServer {
protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new QSslSocket(this);
        if (socket->setSocketDescriptor(descriptor))
            addPendingConnection(socket);
        else
            delete socket;
    }
};

bool sameHost(const QHostAddress &a, const QHostAddress &b)
{
    return a.isEqual(b, QHostAddress::TolerantConversion);
}

} // namespace

FtpDataConnection::FtpDataConnection(const std::atomic_bool &abortRequested, const std::atomic_bool &stopping,
                                     int connectTimeoutMs, int idleTimeoutMs)
    : m_abortRequested(abortRequested)
    , m_stopping(stopping)
    , m_connectTimeoutMs(connectTimeoutMs)
    , m_idleTimeoutMs(idleTimeoutMs)
{
}

FtpDataConnection::~FtpDataConnection()
{
    close();
}

void FtpDataConnection::throwTimeout() const
{
    throw FtpError(QStringLiteral("Time-out: the data connection was idle for %1 ms.").arg(m_idleTimeoutMs));
}

void FtpDataConnection::setTls(const QSslConfiguration &configuration, const QString &verifyName,
                               const QSslCertificate &expected)
{
    m_tls = true;
    m_tlsConfiguration = configuration;
    m_verifyName = verifyName;
    m_expectedCertificate = expected;
}

void FtpDataConnection::beginTls()
{
    auto *socket = static_cast<QSslSocket *>(m_socket.get());
    socket->setSslConfiguration(m_tlsConfiguration);
    socket->setPeerVerifyName(m_verifyName);
    // The resumed session is checked below against the control connection's certificate.
    socket->ignoreSslErrors();
    socket->startClientEncryption();
}

void FtpDataConnection::finishTls()
{
    if (!m_tls)
        return;
    auto *socket = static_cast<QSslSocket *>(m_socket.get());
    FtpTls::WaitEncrypted(*socket, m_connectTimeoutMs, m_stopping);
    if (socket->peerCertificate() != m_expectedCertificate)
        throw FtpError(QStringLiteral("The data connection presented another certificate than the control connection."));
}

void FtpDataConnection::connectTo(const QHostAddress &address, quint16 port)
{
    if (m_tls)
        m_socket = std::make_unique<QSslSocket>();
    else
        m_socket = std::make_unique<QTcpSocket>();
    m_socket->connectToHost(address, port);
    if (!m_socket->waitForConnected(m_connectTimeoutMs)) {
        const QString reason = m_socket->errorString();
        close();
        throw FtpError(QStringLiteral("Could not open the data connection to %1 port %2: %3")
                           .arg(address.toString()).arg(port).arg(reason));
    }
    if (m_tls)
        beginTls();
}

quint16 FtpDataConnection::listen(const QHostAddress &localAddress)
{
    if (m_tls)
        m_server = std::make_unique<TlsAcceptingServer>();
    else
        m_server = std::make_unique<QTcpServer>();
    if (!m_server->listen(localAddress, 0)) {
        const QString reason = m_server->errorString();
        m_server.reset();
        throw FtpError(QStringLiteral("Could not listen for the data connection: ") + reason);
    }
    return m_server->serverPort();
}

bool FtpDataConnection::accept(const QHostAddress &serverAddress)
{
    QDeadlineTimer deadline(m_connectTimeoutMs);
    while (!m_socket) {
        if (m_stopping || m_abortRequested)
            return false;
        if (deadline.hasExpired())
            throw FtpError(QStringLiteral("Time-out: the server did not open the data connection."));
        if (!m_server->waitForNewConnection(slice(deadline)))
            continue;
        std::unique_ptr<QTcpSocket> incoming(m_server->nextPendingConnection());
        if (!incoming)
            continue;
        incoming->setParent(nullptr);
        if (sameHost(incoming->peerAddress(), serverAddress))
            m_socket = std::move(incoming);
        else
            incoming->abort();
    }
    m_server->close();
    if (m_tls)
        beginTls();
    return true;
}

FtpDataConnection::Result FtpDataConnection::receive(const Consumer &consume, const Progress &progress)
{
    std::vector<char> buffer(ChunkBytes);
    qint64 total = 0;
    QDeadlineTimer idle(m_idleTimeoutMs);
    while (true) {
        if (m_abortRequested)
            return Result::Aborted;
        if (m_stopping)
            throw FtpError(QStringLiteral("The FTP client was shut down."));
        if (m_socket->bytesAvailable() == 0) {
            if (m_socket->state() != QAbstractSocket::ConnectedState)
                break; // the server closed the connection: end of data
            if (!m_socket->waitForReadyRead(slice(idle))) {
                if (m_socket->bytesAvailable() > 0 || m_socket->state() != QAbstractSocket::ConnectedState)
                    continue;
                if (idle.hasExpired())
                    throwTimeout();
                continue;
            }
        }
        const qint64 got = m_socket->read(buffer.data(), qint64(buffer.size()));
        if (got < 0)
            break;
        if (got == 0)
            continue;
        idle.setRemainingTime(m_idleTimeoutMs);
        consume(buffer.data(), got);
        total += got;
        progress(total);
    }
    return Result::Finished;
}

FtpDataConnection::Result FtpDataConnection::send(QIODevice &source, AsciiConverter *converter, const Progress &progress,
                                                  qint64 *wireBytes)
{
    qint64 total = 0;
    qint64 sent = 0;
    QDeadlineTimer idle(m_idleTimeoutMs);
    const auto drain = [&](qint64 limit) {
        while (m_socket->bytesToWrite() > limit) {
            if (m_abortRequested)
                return false;
            if (m_stopping)
                throw FtpError(QStringLiteral("The FTP client was shut down."));
            if (m_socket->state() != QAbstractSocket::ConnectedState)
                throw FtpError(QStringLiteral("The server closed the data connection."));
            const qint64 before = m_socket->bytesToWrite();
            m_socket->waitForBytesWritten(slice(idle));
            if (m_socket->bytesToWrite() < before)
                idle.setRemainingTime(m_idleTimeoutMs);
            else if (idle.hasExpired())
                throwTimeout();
        }
        return true;
    };
    while (true) {
        if (m_abortRequested)
            return Result::Aborted;
        QByteArray chunk = source.read(ChunkBytes);
        if (chunk.isEmpty()) {
            if (source.atEnd())
                break;
            throw FtpError(QStringLiteral("Cannot read the local file: ") + source.errorString(), FtpError::Kind::Local);
        }
        const qint64 raw = chunk.size();
        if (converter)
            chunk = converter->convert(chunk);
        if (m_socket->write(chunk) != chunk.size())
            throw FtpError(QStringLiteral("The server closed the data connection."));
        sent += chunk.size();
        if (wireBytes)
            *wireBytes = sent;
        if (!drain(SendBufferLimit))
            return Result::Aborted;
        total += raw;
        progress(total);
    }
    if (!drain(0))
        return Result::Aborted;
    if (m_tls) {
        // A TLS server may send records of its own (session tickets) that nobody reads. Closing
        // with unread bytes resets the connection, and a reset makes the server drop the data it
        // has not read yet: so they are taken in first.
        m_socket->waitForReadyRead(0);
        m_socket->readAll();
    }
    m_socket->disconnectFromHost();
    QDeadlineTimer closing(m_idleTimeoutMs);
    while (m_socket->state() != QAbstractSocket::UnconnectedState && !closing.hasExpired() && !m_stopping)
        m_socket->waitForDisconnected(slice(closing));
    return Result::Finished;
}

void FtpDataConnection::close()
{
    if (m_socket) {
        m_socket->abort();
        m_socket.reset();
    }
    if (m_server) {
        m_server->close();
        m_server.reset();
    }
}

} // namespace Velmora
