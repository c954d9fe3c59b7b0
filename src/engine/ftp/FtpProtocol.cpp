#include "FtpProtocol.h"

#include "AsciiConverter.h"
#include "FtpDataConnection.h"
#include "FtpError.h"
#include "FtpEvents.h"
#include "FtpReplyParsers.h"
#include "FtpTls.h"
#include "ListingDate.h"

#include "common/TextCodec.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace Velmora {

namespace {

constexpr int ProgressIntervalMs = 40;
// A listing larger than this is no listing but a server that never stops sending.
constexpr qint64 MaximumListingBytes = qint64(256) * 1024 * 1024;
constexpr int AborGraceMs = 1000;

// A write may take only part of the bytes (the disk filled up on the way) without an error; the
// next write then fails with the reason. So the rest is written until all is or one fails.
bool writeAll(QFile &file, const char *data, qint64 size)
{
    errno = 0;
    while (size > 0) {
        const qint64 written = file.write(data, size);
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

// The reason a write failed: the system's ("No space left on device"), never "Unknown error".
QString writeError(const QFile &file)
{
    if (file.error() != QFileDevice::NoError && file.errorString() != QLatin1String("Unknown error"))
        return file.errorString();
    return errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : file.errorString();
}

// Reports progress at most every ProgressIntervalMs, and always the first and the last figure.
class ProgressThrottle {
public:
    ProgressThrottle(FtpEvents &events, FtpClient::Direction direction, qint64 expected)
        : m_events(events)
        , m_direction(direction)
    {
        m_events.reportWorkBegin(direction, expected);
    }
    ~ProgressThrottle()
    {
        if (m_reported != m_bytes)
            m_events.reportWork(m_direction, m_bytes);
        m_events.reportWorkEnd(m_direction);
    }
    void update(qint64 bytes)
    {
        m_bytes = bytes;
        if (m_timer.isValid() && m_timer.elapsed() < ProgressIntervalMs)
            return;
        m_timer.start();
        m_reported = bytes;
        m_events.reportWork(m_direction, bytes);
    }

private:
    FtpEvents &m_events;
    FtpClient::Direction m_direction;
    QElapsedTimer m_timer;
    qint64 m_bytes = 0;
    qint64 m_reported = -1;
};

} // namespace

FtpProtocol::FtpProtocol(FtpEvents &events, const std::atomic_bool &abortRequested, const std::atomic_bool &stopping)
    : m_events(events)
    , m_abortRequested(abortRequested)
    , m_stopping(stopping)
    , m_control(stopping)
{
}

FtpProtocol::~FtpProtocol() = default;

bool FtpProtocol::isConnected() const
{
    return m_loggedIn && m_control.isOpen();
}

void FtpProtocol::requireConnection() const
{
    if (!isConnected())
        throw FtpError(QStringLiteral("Not connected."));
}

void FtpProtocol::closeConnection()
{
    m_control.close();
    m_loggedIn = false;
    m_dataTls = false;
    m_serverType = -1;
}

FtpReply FtpProtocol::commandBytes(const QByteArray &line)
{
    if (line.contains('\r') || line.contains('\n') || line.contains('\0'))
        throw FtpError(QStringLiteral("A name or command must not contain line breaks."));
    m_control.discardUnreadReplies();
    m_control.send(line, m_settings.timeouts.replyMs);
    FtpReply reply = m_control.readReply(m_settings.timeouts.replyMs);
    if (reply.code == 421) { // the server is closing the connection
        closeConnection();
        throw FtpError(reply.message(), reply.code);
    }
    return reply;
}

FtpReply FtpProtocol::command(const QByteArray &verb, const QString &argument)
{
    return commandBytes(argument.isEmpty() ? verb : verb + ' ' + m_names.encode(argument));
}

void FtpProtocol::expect(const FtpReply &reply, std::initializer_list<int> accepted)
{
    for (int code : accepted) {
        if (reply.code == code)
            return;
    }
    throw FtpError(reply.message(), reply.code);
}

void FtpProtocol::connectAndLogin(const FtpSettings &settings)
{
    closeConnection();
    m_settings = settings;
    m_names = ServerNameCodec();
    m_epsvRefused = false;
    m_greeting.clear();
    m_system.clear();
    m_features.clear();
    m_events.reportStatus(QStringLiteral("Connecting to %1 port %2.").arg(settings.host).arg(settings.port));
    try {
        m_control.open(settings.host, settings.port, settings.timeouts.connectMs);
        m_events.reportStatus(QStringLiteral("Connected."));
        if (settings.encryption == FtpEncryption::Implicit)
            secureControl();
        FtpReply greeting = m_control.readReply(settings.timeouts.replyMs);
        while (greeting.code == 120) // "service ready in nnn minutes"
            greeting = m_control.readReply(settings.timeouts.replyMs);
        if (greeting.code != 220)
            throw FtpError(greeting.message(), greeting.code);
        m_greeting = TextCodec::Decode(greeting.text());
        if (settings.encryption == FtpEncryption::ExplicitRequired
            || settings.encryption == FtpEncryption::ExplicitIfAvailable) {
            if (negotiateExplicitTls())
                secureControl();
        }

        const FtpReply user = commandBytes("USER " + settings.user.toUtf8());
        if (user.code == 331)
            expect(commandBytes("PASS " + settings.password.toUtf8()), {230, 202});
        else if (user.code != 230)
            throw FtpError(user.message(), user.code);
        m_loggedIn = true;
        if (m_control.isEncrypted()) {
            expect(commandBytes("PBSZ 0"), {200});
            expect(commandBytes("PROT P"), {200});
            m_dataTls = true;
        }

        m_features = ParseFeatures(commandBytes("FEAT"));
        if (m_features.contains(QStringLiteral("UTF8"))) {
            commandBytes("OPTS UTF8 ON");
            m_names.setUtf8(true);
        }
        applyType(settings.type);
        const FtpReply syst = commandBytes("SYST");
        m_system = syst.code == 215 ? TextCodec::Decode(syst.firstText()).trimmed() : QString();
        if (m_system.isEmpty())
            m_system = UnknownSystem;
    } catch (const FtpError &) {
        closeConnection();
        throw;
    }
    m_events.reportStatus(QStringLiteral("Connection established"));
}

bool FtpProtocol::negotiateExplicitTls()
{
    const FtpReply auth = commandBytes("AUTH TLS");
    if (auth.code == 234)
        return true;
    const bool unknown = auth.code == 500 || auth.code == 502 || auth.code == 504;
    if (unknown && m_settings.encryption == FtpEncryption::ExplicitIfAvailable) {
        m_events.reportWarning(QStringLiteral("The server does not offer TLS (AUTH TLS: %1). The connection continues "
                                             "without encryption.")
                                  .arg(auth.message()));
        return false;
    }
    throw FtpError(QStringLiteral("The server refused encryption (AUTH TLS: %1). The connection was closed; neither "
                                  "the user name nor the password was sent.")
                       .arg(auth.message()),
                   FtpError::Kind::Connection, auth.code);
}

void FtpProtocol::secureControl()
{
    QList<QSslError> errors;
    m_control.startTls(m_settings.host, m_settings.timeouts.connectMs, &errors);
    const QSslCertificate certificate = m_control.peerCertificate();
    const QString fingerprint = FtpTls::Fingerprint(certificate);
    if (certificate.isNull() && errors.isEmpty())
        errors << QSslError(QSslError::NoPeerCertificate);
    const bool accepted = !certificate.isNull()
                          && (fingerprint == m_settings.acceptedFingerprint || fingerprint == m_settings.trustedFingerprint);
    if (!errors.isEmpty() && !accepted) {
        FtpCertificate described = FtpTls::Describe(certificate, errors, m_settings.host, m_settings.port);
        // A certificate trusted for good, or "this time" earlier in this program run, that another
        // one replaced: the loud warning of a changed certificate, not the plain question.
        described.previousFingerprint = m_settings.trustedFingerprint.isEmpty() ? m_settings.acceptedFingerprint
                                                                                 : m_settings.trustedFingerprint;
        m_control.close();
        const QString message =
            described.changed()
                ? QStringLiteral("WARNING: the certificate of %1 has CHANGED since it was trusted (trusted: %2, "
                                 "now: %3): %4")
                      .arg(described.site(), described.previousFingerprint, described.fingerprint, described.reason)
                : QStringLiteral("The certificate of %1 is not trusted (SHA-256 %2): %3")
                      .arg(described.site(), described.fingerprint, described.reason);
        throw FtpCertificateError(message, described);
    }
    m_events.reportStatus(QStringLiteral("TLS connection established: ") + m_control.tlsSessionText());
}

void FtpProtocol::quit(const FtpSettings &settings)
{
    m_settings = settings;
    if (isConnected()) {
        m_events.reportStatus(QStringLiteral("Connection will be terminated."));
        try {
            m_control.discardUnreadReplies();
            m_control.send("QUIT", m_settings.timeouts.replyMs);
            m_control.tryReadReply(m_settings.timeouts.replyMs);
        } catch (const FtpError &) {
            // The connection ends either way.
        }
        closeConnection();
        m_events.reportStatus(QStringLiteral("Connection terminated."));
    }
    closeConnection();
}

void FtpProtocol::applyType(FtpClient::TransferType type)
{
    if (m_serverType == int(type))
        return;
    expect(commandBytes(type == FtpClient::TransferType::Ascii ? "TYPE A" : "TYPE I"), {200});
    m_serverType = int(type);
}

void FtpProtocol::setTransferType(const FtpSettings &settings)
{
    m_settings = settings;
    if (isConnected())
        applyType(settings.type);
}

std::unique_ptr<FtpDataConnection> FtpProtocol::openDataConnection()
{
    auto data = std::make_unique<FtpDataConnection>(m_abortRequested, m_stopping, m_settings.timeouts.connectMs,
                                                    m_settings.timeouts.dataIdleMs);
    if (m_dataTls)
        data->setTls(m_control.tlsConfiguration(), m_settings.host, m_control.peerCertificate());
    const QHostAddress peer = m_control.peerAddress();
    bool peerIsIpv4 = false;
    peer.toIPv4Address(&peerIsIpv4);
    if (m_settings.passive) {
        if (!m_epsvRefused) {
            const FtpReply epsv = commandBytes("EPSV");
            if (epsv.code == 229) {
                if (const auto port = ParseEpsvReply(epsv.lines.first())) {
                    data->connectTo(peer, *port);
                    return data;
                }
            }
            m_epsvRefused = true;
        }
        if (!peerIsIpv4)
            throw FtpError(QStringLiteral("The server offers no passive mode for IPv6 (EPSV was refused)."));
        const FtpReply pasv = commandBytes("PASV");
        expect(pasv, {227});
        const auto address = ParsePasvReply(pasv.lines.first());
        if (!address)
            throw FtpError(QStringLiteral("Invalid passive mode reply: ") + pasv.message());
        // The data connection always goes to the host of the control connection, whatever
        // address the reply names.
        data->connectTo(peer, address->port);
        return data;
    }
    QHostAddress local = m_control.localAddress();
    local.setScopeId(QString());
    bool localIsIpv4 = false;
    const quint32 ipv4 = local.toIPv4Address(&localIsIpv4);
    const quint16 port = data->listen(m_control.localAddress());
    if (localIsIpv4)
        expect(commandBytes("PORT " + PortArgument(QHostAddress(ipv4).toString(), port)), {200});
    else
        expect(commandBytes("EPRT " + EprtArgument(local.toString(), true, port)), {200});
    return data;
}

bool FtpProtocol::sendAbor(FtpDataConnection &data)
{
    try {
        m_control.send("ABOR", m_settings.timeouts.replyMs);
        data.close();
        const FtpReply first = m_control.readReply(m_settings.timeouts.replyMs);
        if (first.code >= 400 && first.code < 500) // 426 for the transfer, then the answer to ABOR
            m_control.readReply(m_settings.timeouts.replyMs);
        else if (first.code == 226 || first.code == 250) // the transfer had ended; ABOR answers next
            m_control.tryReadReply(qMin(AborGraceMs, m_settings.timeouts.replyMs));
    } catch (const FtpError &) {
        closeConnection();
        data.close();
        return false;
    }
    data.close();
    return true;
}

void FtpProtocol::abortTransfer(FtpDataConnection &data)
{
    sendAbor(data);
    m_events.reportStatus(QStringLiteral("Transfer aborted"));
    throw FtpError(QStringLiteral("Transfer aborted"), FtpError::Kind::Aborted);
}

void FtpProtocol::runDataCommand(const QByteArray &verb, const QString &argument,
                                 const std::function<void(FtpDataConnection &, qint64)> &move, qint64 restartAt)
{
    requireConnection();
    m_transferStopped = false;
    std::unique_ptr<FtpDataConnection> data = openDataConnection();
    if (restartAt > 0) {
        const FtpReply rest = command("REST", QString::number(restartAt));
        if (rest.code != 350) {
            data->close();
            throw FtpError(rest.message(), rest.code);
        }
    }
    const FtpReply first = command(verb, argument);
    if (!first.isPreliminary()) {
        data->close();
        if (first.isSuccess()) // nothing to transfer (some servers answer an empty LIST so)
            return;
        throw FtpError(first.message(), first.code);
    }
    try {
        if (!m_settings.passive && !data->accept(m_control.peerAddress()))
            abortTransfer(*data);
        data->finishTls();
        m_events.reportStatus(QStringLiteral("FTP transfer started"));
        move(*data, AnnouncedTransferSize(first.lines.first()));
    } catch (const FtpError &error) {
        if (error.kind() == FtpError::Kind::Aborted)
            throw;
        if (error.kind() == FtpError::Kind::Local) {
            // The server is fine: abort the transfer politely instead of dropping the connection.
            try {
                abortTransfer(*data);
            } catch (const FtpError &) {
            }
            throw;
        }
        data->close();
        closeConnection(); // the conversation is out of step after a broken transfer
        throw;
    }
    data->close();
    if (m_transferStopped) // ABOR ended it, and its replies are read
        return;
    expect(m_control.readReply(m_settings.timeouts.replyMs), {226, 250});
    m_events.reportStatus(QStringLiteral("Transfer completed"));
}

QStringList FtpProtocol::list(const FtpSettings &settings, const QString &specifier, QList<QDateTime> *dates)
{
    m_settings = settings;
    QByteArray bytes;
    runDataCommand("LIST", specifier.trimmed(), [&](FtpDataConnection &data, qint64) {
        const auto result = data.receive(
            [&](const char *p, qint64 n) {
                if (bytes.size() + n > MaximumListingBytes)
                    throw FtpError(QStringLiteral("The server sent a listing of more than 256 MB."), FtpError::Kind::Local);
                bytes.append(p, n);
            },
            [](qint64) {});
        if (result == FtpDataConnection::Result::Aborted)
            abortTransfer(data);
    });
    QStringList lines;
    dates->clear();
    const QDate today = QDate::currentDate();
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        qsizetype stop = end;
        if (stop > start && bytes[stop - 1] == '\r')
            --stop;
        const QString line = m_names.decodeListingLine(bytes.mid(start, stop - start));
        dates->append(ParseListingDate(line, today));
        lines.append(line);
        start = end + 1;
    }
    return lines;
}

void FtpProtocol::changeDirectory(const FtpSettings &settings, const QString &path)
{
    simpleCommand(settings, "CWD", path, {250, 200});
}

QString FtpProtocol::currentDirectory(const FtpSettings &settings)
{
    m_settings = settings;
    requireConnection();
    const FtpReply reply = commandBytes("PWD");
    expect(reply, {257});
    const auto path = ParsePwdReply(reply.firstText());
    if (!path)
        throw FtpError(QStringLiteral("Invalid reply to PWD: ") + reply.message());
    return m_names.decodePath(*path);
}

void FtpProtocol::simpleCommand(const FtpSettings &settings, const QByteArray &verb, const QString &argument,
                                std::initializer_list<int> accepted)
{
    m_settings = settings;
    requireConnection();
    expect(command(verb, argument), accepted);
}

void FtpProtocol::rename(const FtpSettings &settings, const QString &from, const QString &to)
{
    simpleCommand(settings, "RNFR", from, {350});
    simpleCommand(settings, "RNTO", to, {250, 200});
}

qint64 FtpProtocol::size(const FtpSettings &settings, const QString &path)
{
    m_settings = settings;
    requireConnection();
    const FtpReply reply = command("SIZE", path);
    if (reply.code != 213)
        return -1;
    bool ok = false;
    const qint64 value = reply.firstText().trimmed().toLongLong(&ok);
    return ok && value >= 0 ? value : -1;
}

FtpTransferResult FtpProtocol::download(const FtpSettings &settings, const QString &remotePath, const QString &localPath)
{
    m_settings = settings;
    const QFileInfo info(localPath);
    if (info.exists() || info.isSymLink())
        throw FtpError(QStringLiteral("The local file already exists: ") + localPath, FtpError::Kind::Local);
    requireConnection();
    QFile file(localPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        throw FtpError(QStringLiteral("Cannot create the local file %1: %2").arg(localPath, file.errorString()),
                       FtpError::Kind::Local);
    FtpTransferResult moved;
    try {
        applyType(settings.type);
        const bool ascii = settings.type == FtpClient::TransferType::Ascii;
        AsciiConverter converter(AsciiConverter::Direction::ToLocal);
        const auto write = [&](const char *p, qint64 n) {
            if (!writeAll(file, p, n))
                throw FtpError(QStringLiteral("Cannot write the local file %1: %2").arg(localPath, writeError(file)),
                               FtpError::Kind::Local);
            moved.fileBytes += n;
        };
        runDataCommand("RETR", remotePath, [&](FtpDataConnection &data, qint64 announced) {
            moved.announcedBytes = announced;
            ProgressThrottle progress(m_events, FtpClient::Direction::Download, qMax<qint64>(announced, 0));
            const auto result = data.receive(
                [&](const char *p, qint64 n) {
                    moved.wireBytes += n;
                    if (!ascii)
                        return write(p, n);
                    const QByteArray converted = converter.convert(QByteArray::fromRawData(p, n));
                    write(converted.constData(), converted.size());
                },
                [&](qint64 total) { progress.update(total); });
            if (result == FtpDataConnection::Result::Aborted)
                abortTransfer(data);
            const QByteArray rest = converter.finish();
            write(rest.constData(), rest.size());
        });
        if (!file.flush())
            throw FtpError(QStringLiteral("Cannot write the local file %1: %2").arg(localPath, writeError(file)),
                           FtpError::Kind::Local);
        file.close();
    } catch (...) {
        file.close();
        file.remove();
        throw;
    }
    return moved;
}

void FtpProtocol::requireRestart(const FtpSettings &settings, const QString &remotePath)
{
    m_settings = settings;
    if (settings.type != FtpClient::TransferType::Binary)
        throw FtpError(QStringLiteral("A transfer in ASCII mode cannot be resumed: ") + remotePath, FtpError::Kind::Local);
    requireConnection();
    if (!canResume())
        throw FtpError(QStringLiteral("The server cannot resume transfers (no REST STREAM)."), FtpError::Kind::Local);
}

QDateTime FtpProtocol::modificationTime(const FtpSettings &settings, const QString &path)
{
    m_settings = settings;
    requireConnection();
    const FtpReply reply = command("MDTM", path);
    if (reply.code != 213)
        return {};
    return ParseMdtmReply(reply.firstText());
}

QByteArray FtpProtocol::readFrom(const FtpSettings &settings, const QString &remotePath, qint64 offset, qint64 maxBytes)
{
    requireRestart(settings, remotePath);
    applyType(settings.type);
    QByteArray bytes;
    runDataCommand(
        "RETR", remotePath,
        [&](FtpDataConnection &data, qint64) {
            const auto result = data.receive(
                [&](const char *p, qint64 n) {
                    if (bytes.size() + n > maxBytes)
                        throw FtpError(QStringLiteral("The server sent more than %1 bytes of %2.").arg(maxBytes).arg(remotePath),
                                       FtpError::Kind::Local);
                    bytes.append(p, n);
                },
                [](qint64) {});
            if (result == FtpDataConnection::Result::Aborted)
                abortTransfer(data);
        },
        offset);
    return bytes;
}

QByteArray FtpProtocol::readRange(const FtpSettings &settings, const QString &remotePath, qint64 offset, qint64 length)
{
    requireRestart(settings, remotePath);
    QByteArray bytes;
    if (length <= 0)
        return bytes;
    applyType(settings.type);
    struct Enough {};
    runDataCommand(
        "RETR", remotePath,
        [&](FtpDataConnection &data, qint64) {
            try {
                const auto result = data.receive(
                    [&](const char *p, qint64 n) {
                        bytes.append(p, qMin(n, length - bytes.size()));
                        if (bytes.size() >= length)
                            throw Enough();
                    },
                    [](qint64) {});
                if (result == FtpDataConnection::Result::Aborted)
                    abortTransfer(data);
            } catch (const Enough &) {
                // The rest of the file is not wanted: the transfer ends here, quietly.
                if (!sendAbor(data))
                    throw FtpError(QStringLiteral("The connection broke down while a transfer was stopped."));
                m_transferStopped = true;
            }
        },
        offset);
    return bytes;
}

FtpTransferResult FtpProtocol::resumeUpload(const FtpSettings &settings, const QString &localPath, const QString &remotePath,
                                            qint64 offset)
{
    requireRestart(settings, remotePath);
    return upload(settings, localPath, remotePath, offset);
}

FtpTransferResult FtpProtocol::resumeDownload(const FtpSettings &settings, const QString &remotePath, const QString &localPath)
{
    requireRestart(settings, remotePath);
    QFile file(localPath);
    if (!QFileInfo(localPath).isFile() || !file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        throw FtpError(QStringLiteral("Cannot continue the local file %1: %2").arg(localPath, file.errorString()),
                       FtpError::Kind::Local);
    // What arrived stays in the file whatever happens: the next attempt goes on from there.
    const qint64 offset = file.size();
    FtpTransferResult moved;
    applyType(settings.type);
    runDataCommand(
        "RETR", remotePath,
        [&](FtpDataConnection &data, qint64 announced) {
            moved.announcedBytes = announced;
            ProgressThrottle progress(m_events, FtpClient::Direction::Download, qMax<qint64>(announced, 0));
            const auto result = data.receive(
                [&](const char *p, qint64 n) {
                    moved.wireBytes += n;
                    if (!writeAll(file, p, n))
                        throw FtpError(QStringLiteral("Cannot write the local file %1: %2").arg(localPath, writeError(file)),
                                       FtpError::Kind::Local);
                    moved.fileBytes += n;
                },
                [&](qint64 total) { progress.update(total); });
            if (result == FtpDataConnection::Result::Aborted)
                abortTransfer(data);
        },
        offset);
    if (!file.flush())
        throw FtpError(QStringLiteral("Cannot write the local file %1: %2").arg(localPath, writeError(file)),
                       FtpError::Kind::Local);
    return moved;
}

FtpTransferResult FtpProtocol::upload(const FtpSettings &settings, const QString &localPath, const QString &remotePath,
                                      qint64 offset)
{
    m_settings = settings;
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly))
        throw FtpError(QStringLiteral("Cannot read the local file %1: %2").arg(localPath, file.errorString()),
                       FtpError::Kind::Local);
    if (offset > 0 && (offset > file.size() || !file.seek(offset)))
        throw FtpError(QStringLiteral("Cannot read the local file %1 from byte %2.").arg(localPath).arg(offset),
                       FtpError::Kind::Local);
    requireConnection();
    applyType(settings.type);
    const bool ascii = settings.type == FtpClient::TransferType::Ascii;
    AsciiConverter converter(AsciiConverter::Direction::ToNetwork);
    FtpTransferResult moved;
    runDataCommand("STOR", remotePath, [&](FtpDataConnection &data, qint64 announced) {
        moved.announcedBytes = announced;
        ProgressThrottle progress(m_events, FtpClient::Direction::Upload, file.size() - offset);
        const auto result = data.send(
            file, ascii ? &converter : nullptr,
            [&](qint64 total) {
                moved.fileBytes = total;
                progress.update(total);
            },
            &moved.wireBytes);
        if (result == FtpDataConnection::Result::Aborted)
            abortTransfer(data);
    }, offset);
    return moved;
}

} // namespace Velmora
