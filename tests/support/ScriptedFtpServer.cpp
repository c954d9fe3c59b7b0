#include "ScriptedFtpServer.h"

#include <QDeadlineTimer>
#include <QMutexLocker>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace Velmora::Testing {

namespace {
constexpr int SliceMs = 20;
constexpr int DataWaitMs = 5000;

QByteArray verbOf(const QByteArray &line)
{
    const qsizetype blank = line.indexOf(' ');
    return (blank < 0 ? line : line.left(blank)).toUpper();
}
} // namespace

ScriptedFtpServer::ScriptedFtpServer() = default;

ScriptedFtpServer::~ScriptedFtpServer()
{
    stop();
}

void ScriptedFtpServer::addRule(const QByteArray &command, const QByteArray &reply, const QByteArray &data)
{
    m_rules.append({command, reply, data});
}

void ScriptedFtpServer::addStallingRule(const QByteArray &command, const QByteArray &firstLine, const QByteArray &data)
{
    m_rules.append({command, firstLine, data, true});
}

bool ScriptedFtpServer::start()
{
    QSemaphore ready;
    m_stopping = false;
    m_thread.reset(QThread::create([this, &ready] {
        QTcpServer listener;
        if (listener.listen(QHostAddress::LocalHost, 0))
            m_port = listener.serverPort();
        ready.release();
        while (!m_stopping && listener.isListening()) {
            if (!listener.waitForNewConnection(SliceMs))
                continue;
            std::unique_ptr<QTcpSocket> control(listener.nextPendingConnection());
            control->setParent(nullptr);
            serve(*control);
            m_passive.reset();
        }
    }));
    m_thread->start();
    ready.acquire();
    return m_port != 0;
}

void ScriptedFtpServer::stop()
{
    if (!m_thread)
        return;
    m_stopping = true;
    m_thread->wait();
    m_thread.reset();
}

QList<QByteArray> ScriptedFtpServer::commands() const
{
    QMutexLocker lock(&m_mutex);
    return m_commands;
}

bool ScriptedFtpServer::received(const QByteArray &command) const
{
    return commands().contains(command);
}

QByteArray ScriptedFtpServer::upload(const QByteArray &argument) const
{
    QMutexLocker lock(&m_mutex);
    return m_uploads.value(argument);
}

bool ScriptedFtpServer::readLine(QTcpSocket &socket, QByteArray &line)
{
    while (!m_stopping) {
        if (socket.canReadLine()) {
            line = socket.readLine();
            while (line.endsWith('\n') || line.endsWith('\r'))
                line.chop(1);
            return true;
        }
        if (socket.state() != QAbstractSocket::ConnectedState)
            return false;
        socket.waitForReadyRead(SliceMs);
    }
    return false;
}

void ScriptedFtpServer::sendReply(QTcpSocket &socket, const QByteArray &reply)
{
    if (reply.isEmpty())
        return;
    QByteArray bytes = reply;
    bytes.replace("\r\n", "\n");
    bytes.replace("\n", "\r\n");
    socket.write(bytes + "\r\n");
    socket.waitForBytesWritten(DataWaitMs);
}

const ScriptedFtpServer::Rule *ScriptedFtpServer::findRule(const QByteArray &line) const
{
    for (const Rule &rule : m_rules) {
        if (rule.command == line)
            return &rule;
    }
    for (const Rule &rule : m_rules) {
        if (line.startsWith(QByteArray(rule.command + ' ')))
            return &rule;
    }
    return nullptr;
}

QTcpSocket *ScriptedFtpServer::openData()
{
    if (m_passive) {
        QDeadlineTimer deadline(DataWaitMs);
        while (!m_passive->hasPendingConnections() && !deadline.hasExpired() && !m_stopping)
            m_passive->waitForNewConnection(SliceMs);
        QTcpSocket *socket = m_passive->nextPendingConnection();
        if (socket)
            socket->setParent(nullptr);
        m_passive.reset();
        return socket;
    }
    if (m_activePort != 0) {
        auto *socket = new QTcpSocket;
        socket->connectToHost(m_activeHost, m_activePort);
        m_activePort = 0;
        if (socket->waitForConnected(DataWaitMs))
            return socket;
        delete socket;
    }
    return nullptr;
}

void ScriptedFtpServer::handleDataCommand(QTcpSocket &control, const QByteArray &verb, const QByteArray &argument,
                                          const Rule *rule)
{
    const struct RestartUsed {
        qint64 &at;
        ~RestartUsed() { at = 0; }
    } restartUsed{m_restAt};
    QByteArray reply = rule ? rule->reply
                            : (verb == "STOR" ? QByteArray("150 Send the data.\n226 Stored.")
                                              : QByteArray("550 No such file or folder."));
    reply.replace("\r\n", "\n");
    const qsizetype firstEnd = reply.indexOf('\n');
    const QByteArray first = firstEnd < 0 ? reply : reply.left(firstEnd);
    if (!first.startsWith('1')) {
        sendReply(control, reply);
        m_passive.reset();
        m_activePort = 0;
        return;
    }
    sendReply(control, first);
    std::unique_ptr<QTcpSocket> data(openData());
    if (!data) {
        sendReply(control, "425 No data connection.");
        return;
    }
    if (verb == "STOR") {
        QByteArray received;
        while (data->state() == QAbstractSocket::ConnectedState || data->bytesAvailable() > 0) {
            if (data->bytesAvailable() == 0 && !data->waitForReadyRead(DataWaitMs))
                continue;
            received += data->readAll();
        }
        QMutexLocker lock(&m_mutex);
        m_uploads.insert(argument, received);
    } else if (rule && rule->stall) {
        data->write(rule->data);
        data->waitForBytesWritten(DataWaitMs);
        while (!m_stopping && data->state() == QAbstractSocket::ConnectedState) {
            data->waitForReadyRead(SliceMs);
            data->readAll();
        }
        return;
    } else {
        QByteArray bytes = rule ? rule->data.mid(qMin<qint64>(m_restAt, rule->data.size())) : QByteArray();
        if (m_transferLimit > 0)
            bytes.truncate(m_transferLimit);
        data->write(bytes);
        data->waitForBytesWritten(DataWaitMs);
        data->disconnectFromHost();
        if (data->state() != QAbstractSocket::UnconnectedState)
            data->waitForDisconnected(DataWaitMs);
    }
    if (firstEnd >= 0)
        sendReply(control, reply.mid(firstEnd + 1));
}

void ScriptedFtpServer::serve(QTcpSocket &control)
{
    sendReply(control, m_greeting);
    QByteArray line;
    while (readLine(control, line)) {
        {
            QMutexLocker lock(&m_mutex);
            m_commands.append(line);
        }
        const QByteArray verb = verbOf(line);
        const qsizetype blank = line.indexOf(' ');
        const QByteArray argument = blank < 0 ? QByteArray() : line.mid(blank + 1);
        const Rule *rule = findRule(line);
        if (verb == "LIST" || verb == "NLST" || verb == "RETR" || verb == "STOR") {
            handleDataCommand(control, verb, argument, rule);
            continue;
        }
        if (rule) {
            // A restart the rule accepts takes effect on the next data command.
            if (verb == "REST" && rule->reply.startsWith("350"))
                m_restAt = argument.toLongLong();
            sendReply(control, rule->reply);
            continue;
        }
        if (verb == "EPSV" || verb == "PASV") {
            if (verb == "EPSV" && !m_epsv) {
                sendReply(control, "500 EPSV not understood.");
                continue;
            }
            m_passive = std::make_unique<QTcpServer>();
            m_passive->listen(QHostAddress::LocalHost, 0);
            const quint16 port = m_passive->serverPort();
            if (verb == "EPSV") {
                sendReply(control, "229 Entering Extended Passive Mode (|||" + QByteArray::number(port) + "|)");
            } else {
                const QByteArray host = m_pasvHost.isEmpty() ? QByteArray("127,0,0,1") : m_pasvHost;
                sendReply(control, "227 Entering Passive Mode (" + host + ',' + QByteArray::number(port >> 8) + ','
                                       + QByteArray::number(port & 0xff) + ")");
            }
        } else if (verb == "PORT") {
            const QList<QByteArray> n = argument.split(',');
            if (n.size() == 6) {
                m_activeHost = QHostAddress(QString::fromLatin1(n[0] + '.' + n[1] + '.' + n[2] + '.' + n[3]));
                m_activePort = quint16(n[4].toUInt() * 256 + n[5].toUInt());
            }
            sendReply(control, "200 PORT command successful.");
        } else if (verb == "USER") {
            sendReply(control, "331 Password required.");
        } else if (verb == "PASS") {
            sendReply(control, "230 Logged in.");
        } else if (verb == "SYST") {
            sendReply(control, "215 UNIX Type: L8");
        } else if (verb == "PWD") {
            sendReply(control, "257 \"/\" is the current directory.");
        } else if (verb == "CWD") {
            sendReply(control, "250 Directory changed.");
        } else if (verb == "TYPE" || verb == "NOOP" || verb == "OPTS") {
            sendReply(control, "200 OK.");
        } else if (verb == "ABOR") {
            sendReply(control, "225 No transfer to abort.");
        } else if (verb == "QUIT") {
            sendReply(control, "221 Goodbye.");
            break;
        } else {
            sendReply(control, "502 Command not implemented.");
        }
    }
    control.disconnectFromHost();
    if (control.state() != QAbstractSocket::UnconnectedState)
        control.waitForDisconnected(1000);
}

} // namespace Velmora::Testing
