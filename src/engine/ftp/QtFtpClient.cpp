#include "QtFtpClient.h"

#include "FtpError.h"
#include "FtpProtocol.h"
#include "FtpWorker.h"

#include "common/WorkerCall.h"

#include <QCoreApplication>

#include <exception>

namespace Velmora {

QtFtpClient::QtFtpClient(QObject *parent)
    : FtpClient(parent)
{
    qRegisterMetaType<FtpClient::Direction>();
    m_worker = new FtpWorker(m_abortRequested, m_stopping);
    m_worker->moveToThread(&m_thread);
    connect(m_worker, &FtpWorker::statusReported, this, &FtpClient::statusReported, Qt::QueuedConnection);
    connect(m_worker, &FtpWorker::warningReported, this, &FtpClient::warningReported, Qt::QueuedConnection);
    connect(m_worker, &FtpWorker::workBegan, this, &FtpClient::workBegan, Qt::QueuedConnection);
    connect(m_worker, &FtpWorker::workProgressed, this, &FtpClient::workProgressed, Qt::QueuedConnection);
    connect(m_worker, &FtpWorker::workEnded, this, &FtpClient::workEnded, Qt::QueuedConnection);
    m_thread.setObjectName(QStringLiteral("FtpClient"));
    m_thread.start();
    // After the main event loop has ended nothing may wait on the server any more.
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &QtFtpClient::stopForQuit);
}

QtFtpClient::~QtFtpClient()
{
    m_final = true;
    m_stopping = true;
    m_abortRequested = true;
    QMetaObject::invokeMethod(m_worker, [worker = m_worker] { worker->shutdown(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    delete m_worker;
}

void QtFtpClient::stopForQuit()
{
    m_quitting = true;
    m_final = true;
    m_stopping = true;
}

void QtFtpClient::run(const std::function<void(FtpProtocol &)> &work)
{
    if (m_quitting || QCoreApplication::closingDown())
        throw FtpError(QStringLiteral("The program is closing."), FtpError::Kind::Aborted);
    if (m_busy)
        throw FtpError(QStringLiteral("Another FTP command is still running."));
    m_busy = true;
    m_cancelled = false;
    bool connected = false;
    bool utf8 = false;
    bool restarts = false;
    std::exception_ptr failure;
    FtpWorker *worker = m_worker;
    // Once the application quits the work is stopped instead of waited for.
    RunOnWorker(
        worker,
        [&] {
            FtpProtocol &protocol = worker->protocol();
            try {
                work(protocol);
            } catch (...) {
                failure = std::current_exception();
            }
            connected = protocol.isConnected();
            utf8 = protocol.isUtf8();
            restarts = protocol.canResume();
        },
        [this] { stopForQuit(); });
    m_busy = false;
    m_connected = connected && !m_cancelled && !m_quitting;
    m_utf8 = utf8;
    m_canResume = restarts;
    if (!failure)
        return;
    if (m_quitting)
        throw FtpError(QStringLiteral("The program is closing."), FtpError::Kind::Aborted);
    if (m_cancelled)
        throw FtpError(QStringLiteral("Disconnected."), FtpError::Kind::Aborted);
    std::rethrow_exception(failure);
}

void QtFtpClient::connectOnce()
{
    FtpSettings settings = m_settings;
    const QString site = settings.host + u':' + QString::number(settings.port);
    if (m_trust && settings.encryption != FtpEncryption::Plain)
        settings.trustedFingerprint = m_trust->trustedFingerprint(settings.host, settings.port);
    settings.acceptedFingerprint = m_acceptedThisRun.value(site);
    QString greeting;
    QString system;
    QString encryption;
    m_greeting.clear();
    m_system.clear();
    m_encryptionText.clear();
    run([&](FtpProtocol &p) {
        p.connectAndLogin(settings);
        greeting = p.greeting();
        system = p.systemDescription();
        encryption = p.encryptionText();
    });
    m_greeting = greeting;
    m_system = system;
    m_encryptionText = encryption;
    // Told here rather than from the worker: whoever hears it may ask at once how the
    // connection is encrypted.
    Q_EMIT connected();
}

void QtFtpClient::connectAndLogin()
{
    try {
        connectOnce();
    } catch (const FtpCertificateError &error) {
        // The connection stopped before anything was sent over TLS; with the user's consent it
        // is made again, accepting exactly the certificate shown.
        if (!m_trust || !m_trust->accept(error.certificate()))
            throw;
        const FtpCertificate &certificate = error.certificate();
        // A certificate trusted for good is found in the trust's store from now on, and only
        // there, so that removing it from the store asks again; one accepted this time is
        // remembered for the program run.
        if (m_trust->trustedFingerprint(certificate.host, certificate.port) != certificate.fingerprint)
            m_acceptedThisRun.insert(certificate.host + u':' + QString::number(certificate.port), certificate.fingerprint);
        connectOnce();
    }
}

void QtFtpClient::closeConnection()
{
    run([](FtpProtocol &p) { p.closeConnection(); });
}

void QtFtpClient::quit()
{
    const FtpSettings settings = m_settings;
    run([&](FtpProtocol &p) { p.quit(settings); });
}

void QtFtpClient::setTransferType(TransferType type)
{
    const bool changed = m_settings.type != type;
    m_settings.type = type;
    // While a transfer runs, the next transfer sends the type.
    if (changed && m_connected && !m_busy) {
        const FtpSettings settings = m_settings;
        run([&](FtpProtocol &p) { p.setTransferType(settings); });
    }
}

QStringList QtFtpClient::list(const QString &specifier)
{
    const FtpSettings settings = m_settings;
    QStringList lines;
    QList<QDateTime> dates;
    m_abortRequested = false;
    m_dates.clear();
    run([&](FtpProtocol &p) { lines = p.list(settings, specifier, &dates); });
    m_dates = dates;
    return lines;
}

void QtFtpClient::changeDirectory(const QString &path)
{
    const FtpSettings settings = m_settings;
    run([&](FtpProtocol &p) { p.changeDirectory(settings, path); });
}

QString QtFtpClient::currentDirectory()
{
    const FtpSettings settings = m_settings;
    QString path;
    run([&](FtpProtocol &p) { path = p.currentDirectory(settings); });
    return path;
}

FtpTransferResult QtFtpClient::download(const QString &remotePath, const QString &localPath)
{
    const FtpSettings settings = m_settings;
    FtpTransferResult result;
    m_abortRequested = false;
    run([&](FtpProtocol &p) { result = p.download(settings, remotePath, localPath); });
    return result;
}

FtpTransferResult QtFtpClient::resumeDownload(const QString &remotePath, const QString &localPath)
{
    const FtpSettings settings = m_settings;
    FtpTransferResult result;
    m_abortRequested = false;
    run([&](FtpProtocol &p) { result = p.resumeDownload(settings, remotePath, localPath); });
    return result;
}

FtpTransferResult QtFtpClient::upload(const QString &localPath, const QString &remotePath)
{
    const FtpSettings settings = m_settings;
    FtpTransferResult result;
    m_abortRequested = false;
    run([&](FtpProtocol &p) { result = p.upload(settings, localPath, remotePath); });
    return result;
}

FtpTransferResult QtFtpClient::resumeUpload(const QString &localPath, const QString &remotePath, qint64 offset)
{
    const FtpSettings settings = m_settings;
    FtpTransferResult result;
    m_abortRequested = false;
    run([&](FtpProtocol &p) { result = p.resumeUpload(settings, localPath, remotePath, offset); });
    return result;
}

QByteArray QtFtpClient::readFrom(const QString &remotePath, qint64 offset, qint64 maxBytes)
{
    const FtpSettings settings = m_settings;
    QByteArray bytes;
    m_abortRequested = false;
    run([&](FtpProtocol &p) { bytes = p.readFrom(settings, remotePath, offset, maxBytes); });
    return bytes;
}

QByteArray QtFtpClient::readRange(const QString &remotePath, qint64 offset, qint64 length)
{
    const FtpSettings settings = m_settings;
    QByteArray bytes;
    m_abortRequested = false;
    run([&](FtpProtocol &p) { bytes = p.readRange(settings, remotePath, offset, length); });
    return bytes;
}

QDateTime QtFtpClient::modificationTime(const QString &path)
{
    const FtpSettings settings = m_settings;
    QDateTime time;
    run([&](FtpProtocol &p) { time = p.modificationTime(settings, path); });
    return time;
}

void QtFtpClient::deleteFile(const QString &path)
{
    const FtpSettings settings = m_settings;
    run([&](FtpProtocol &p) { p.simpleCommand(settings, "DELE", path, {250, 200}); });
}

void QtFtpClient::makeDirectory(const QString &path)
{
    const FtpSettings settings = m_settings;
    run([&](FtpProtocol &p) { p.simpleCommand(settings, "MKD", path, {257, 250}); });
}

void QtFtpClient::removeDirectory(const QString &path)
{
    const FtpSettings settings = m_settings;
    run([&](FtpProtocol &p) { p.simpleCommand(settings, "RMD", path, {250, 200}); });
}

void QtFtpClient::site(const QString &command)
{
    const FtpSettings settings = m_settings;
    run([&](FtpProtocol &p) { p.simpleCommand(settings, "SITE", command, {200, 250}); });
}

void QtFtpClient::rename(const QString &from, const QString &to)
{
    const FtpSettings settings = m_settings;
    run([&](FtpProtocol &p) { p.rename(settings, from, to); });
}

qint64 QtFtpClient::size(const QString &path)
{
    const FtpSettings settings = m_settings;
    qint64 result = -1;
    run([&](FtpProtocol &p) { result = p.size(settings, path); });
    return result;
}

void QtFtpClient::abort()
{
    if (m_busy && m_connected)
        m_abortRequested = true;
}

void QtFtpClient::cancel()
{
    m_connected = false;
    if (!m_busy) {
        run([](FtpProtocol &p) { p.closeConnection(); });
        return;
    }
    // The command in flight stops at its next wait. After it, and before any later command,
    // the worker drops the connection and lifts the stop.
    m_cancelled = true;
    m_stopping = true;
    QMetaObject::invokeMethod(
        m_worker,
        [this, worker = m_worker] {
            worker->protocol().closeConnection();
            if (!m_final)
                m_stopping = false;
        },
        Qt::QueuedConnection);
}

} // namespace Velmora
