#include "FtpControlChannel.h"

#include "FtpError.h"
#include "FtpTls.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <QTcpSocket>

namespace Velmora {

namespace {

constexpr int SliceMs = 50;

QString seconds(int ms)
{
    return ms % 1000 == 0 ? QString::number(ms / 1000) + QStringLiteral(" s") : QString::number(ms) + QStringLiteral(" ms");
}

} // namespace

FtpControlChannel::FtpControlChannel(const std::atomic_bool &stopping)
    : m_stopping(stopping)
{
}

FtpControlChannel::~FtpControlChannel() = default;

void FtpControlChannel::open(const QString &host, quint16 port, int timeoutMs)
{
    close();
    m_socket = std::make_unique<QSslSocket>();
    QSslSocket *socket = m_socket.get();
    // waitForConnected cannot be cut into slices (a timed-out wait abandons the attempt), so
    // the connect is waited for in a local event loop that looks at the stop request every
    // slice: Disconnect and quitting end a connect to a host that never answers at once.
    QEventLoop loop;
    QDeadlineTimer deadline(timeoutMs);
    QTimer slices;
    slices.setInterval(SliceMs);
    QObject::connect(socket, &QAbstractSocket::connected, &loop, &QEventLoop::quit);
    QObject::connect(socket, &QAbstractSocket::errorOccurred, &loop, &QEventLoop::quit);
    QObject::connect(&slices, &QTimer::timeout, &loop, [&] {
        if (m_stopping || m_closeRequested || deadline.hasExpired())
            loop.quit();
    });
    m_opening = true;
    m_closeRequested = false;
    socket->connectToHost(host, port);
    if (socket->state() != QAbstractSocket::ConnectedState && socket->error() == QAbstractSocket::UnknownSocketError) {
        slices.start();
        loop.exec();
        slices.stop();
    }
    m_opening = false;
    if (socket->state() != QAbstractSocket::ConnectedState || m_stopping || m_closeRequested) {
        QString reason;
        if (m_stopping || m_closeRequested)
            reason = QStringLiteral("the attempt was cancelled");
        else if (socket->error() != QAbstractSocket::UnknownSocketError)
            reason = socket->errorString();
        else
            reason = QStringLiteral("no answer within ") + seconds(timeoutMs);
        m_closeRequested = false;
        close();
        throw FtpError(QStringLiteral("Could not connect to %1 port %2: %3").arg(host).arg(port).arg(reason));
    }
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_reader = FtpReplyReader();
}

void FtpControlChannel::close()
{
    if (m_opening) {
        // Called from inside open()'s wait (a queued close): open() ends the attempt itself.
        m_closeRequested = true;
        return;
    }
    if (m_socket) {
        m_socket->abort();
        m_socket.reset();
    }
    m_reader = FtpReplyReader();
}

bool FtpControlChannel::isOpen() const
{
    return m_socket && m_socket->state() == QAbstractSocket::ConnectedState;
}

void FtpControlChannel::send(const QByteArray &line, int timeoutMs)
{
    if (!isOpen()) {
        close();
        throw FtpError(QStringLiteral("Not connected."));
    }
    const QByteArray bytes = line + "\r\n";
    if (m_socket->write(bytes) != bytes.size()) {
        close();
        throw FtpError(QStringLiteral("Connection lost while sending a command."));
    }
    QDeadlineTimer deadline(timeoutMs);
    while (m_socket->bytesToWrite() > 0) {
        if (m_stopping || deadline.hasExpired()) {
            close();
            throw FtpError(QStringLiteral("Connection lost while sending a command."));
        }
        if (!m_socket->waitForBytesWritten(SliceMs) && m_socket->state() != QAbstractSocket::ConnectedState) {
            close();
            throw FtpError(QStringLiteral("Connection lost while sending a command."));
        }
    }
}

FtpControlChannel::Wait FtpControlChannel::waitForLine(QByteArray &line, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (true) {
        if (m_socket->canReadLine()) {
            line = m_socket->readLine(MaximumLineBytes + 2);
            if (!line.endsWith('\n'))
                throw FtpError(QStringLiteral("The server sent a reply line that is too long."));
            line.chop(1);
            if (line.endsWith('\r'))
                line.chop(1);
            return Wait::Line;
        }
        if (m_socket->bytesAvailable() > MaximumLineBytes)
            throw FtpError(QStringLiteral("The server sent a reply line that is too long."));
        if (m_socket->state() != QAbstractSocket::ConnectedState)
            throw FtpError(QStringLiteral("Connection closed by the server."));
        if (m_stopping)
            throw FtpError(QStringLiteral("The FTP client was shut down."));
        if (deadline.hasExpired())
            return Wait::TimedOut;
        const int slice = int(qMin<qint64>(SliceMs, qMax<qint64>(1, deadline.remainingTime())));
        if (m_socket->waitForReadyRead(slice))
            deadline.setRemainingTime(timeoutMs);
    }
}

std::optional<FtpReply> FtpControlChannel::tryReadReply(int timeoutMs)
{
    if (!m_socket)
        throw FtpError(QStringLiteral("Not connected."));
    try {
        while (true) {
            QByteArray line;
            if (waitForLine(line, timeoutMs) == Wait::TimedOut) {
                if (m_reader.isInsideReply()) // half a reply: the conversation is out of step
                    throw FtpError(QStringLiteral("The server stopped in the middle of a reply."));
                return std::nullopt;
            }
            switch (m_reader.addLine(line)) {
            case FtpReplyReader::State::Complete:
                return m_reader.take();
            case FtpReplyReader::State::Malformed:
                throw FtpError(QStringLiteral("The server sent an invalid reply: ") + QString::fromLatin1(line.left(80)));
            case FtpReplyReader::State::NeedMore:
                break;
            }
        }
    } catch (const FtpError &) {
        close();
        throw;
    }
}

FtpReply FtpControlChannel::readReply(int timeoutMs)
{
    std::optional<FtpReply> reply = tryReadReply(timeoutMs);
    if (!reply) {
        close();
        throw FtpError(QStringLiteral("Time-out: the server did not answer within %1.").arg(seconds(timeoutMs)));
    }
    return *reply;
}

void FtpControlChannel::discardUnreadReplies()
{
    if (!m_socket)
        return;
    m_socket->waitForReadyRead(0);
    if (m_socket->bytesAvailable() > 0) {
        m_socket->readAll();
        m_reader = FtpReplyReader();
    }
}

void FtpControlChannel::startTls(const QString &verifyName, int timeoutMs, QList<QSslError> *errors)
{
    if (!isOpen()) {
        close();
        throw FtpError(QStringLiteral("Not connected."));
    }
    m_socket->setSslConfiguration(FtpTls::ClientConfiguration());
    m_socket->setPeerVerifyName(verifyName);
    try {
        FtpTls::Handshake(*m_socket, timeoutMs, m_stopping, errors);
    } catch (const FtpError &) {
        close();
        throw;
    }
    m_reader = FtpReplyReader();
}

QSslCertificate FtpControlChannel::peerCertificate() const
{
    return m_socket ? m_socket->peerCertificate() : QSslCertificate();
}

QSslConfiguration FtpControlChannel::tlsConfiguration() const
{
    return m_socket ? m_socket->sslConfiguration() : QSslConfiguration();
}

QString FtpControlChannel::tlsSessionText() const
{
    return isEncrypted() ? FtpTls::SessionText(*m_socket) : QString();
}

QHostAddress FtpControlChannel::peerAddress() const
{
    return m_socket ? m_socket->peerAddress() : QHostAddress();
}

QHostAddress FtpControlChannel::localAddress() const
{
    return m_socket ? m_socket->localAddress() : QHostAddress();
}

} // namespace Velmora
