#pragma once

#include "FtpClient.h"
#include "FtpSettings.h"

#include <QHash>
#include <QThread>

#include <atomic>
#include <functional>

namespace Velmora {

class FtpProtocol;
class FtpWorker;

// The FTP client on Qt Network. The socket work runs in a worker thread with blocking calls and
// time-outs, one command at a time; the calling thread waits in a local event loop, so the
// window stays responsive, and receives the events as queued signals while it waits. When the
// application quits during such a wait, the command is stopped and the wait ends (event loops
// no longer run then); every later command fails at once, so the program can end.
class QtFtpClient : public FtpClient {
    Q_OBJECT
public:
    explicit QtFtpClient(QObject *parent = nullptr);
    ~QtFtpClient() override;

    void setHost(const QString &host) override { m_settings.host = host; }
    QString host() const override { return m_settings.host; }
    void setPort(quint16 port) override { m_settings.port = port; }
    quint16 port() const override { return m_settings.port; }
    void setUser(const QString &user) override { m_settings.user = user; }
    void setPassword(const QString &password) override { m_settings.password = password; }
    void setPassive(bool passive) override { m_settings.passive = passive; }
    bool isPassive() const override { return m_settings.passive; }
    void setTimeouts(const FtpTimeouts &timeouts) override { m_settings.timeouts = timeouts; }
    FtpTimeouts timeouts() const override { return m_settings.timeouts; }
    void setEncryption(FtpEncryption encryption) override { m_settings.encryption = encryption; }
    FtpEncryption encryption() const override { return m_settings.encryption; }
    void setCertificateTrust(FtpCertificateTrust *trust) override { m_trust = trust; }
    QString encryptionText() const override { return m_connected ? m_encryptionText : QString(); }
    QHash<QString, QString> acceptedThisRun() const override { return m_acceptedThisRun; }
    void setAcceptedThisRun(const QHash<QString, QString> &accepted) override { m_acceptedThisRun = accepted; }

    void connectAndLogin() override;
    void closeConnection() override;
    void quit() override;
    bool isConnected() const override { return m_connected; }
    bool isBusy() const override { return m_busy; }
    QString greeting() const override { return m_greeting; }
    QString systemDescription() const override { return m_system; }
    // The server announced UTF8 and names travel as UTF-8.
    bool isUtf8() const { return m_utf8; }

    void setTransferType(TransferType type) override;
    TransferType transferType() const override { return m_settings.type; }

    QStringList list(const QString &specifier = {}) override;
    QList<QDateTime> listedDates() const override { return m_dates; }
    void changeDirectory(const QString &path) override;
    QString currentDirectory() override;
    FtpTransferResult download(const QString &remotePath, const QString &localPath) override;
    bool canResume() const override { return m_canResume; }
    FtpTransferResult resumeDownload(const QString &remotePath, const QString &localPath) override;
    FtpTransferResult upload(const QString &localPath, const QString &remotePath) override;
    FtpTransferResult resumeUpload(const QString &localPath, const QString &remotePath, qint64 offset) override;
    QByteArray readFrom(const QString &remotePath, qint64 offset, qint64 maxBytes) override;
    QByteArray readRange(const QString &remotePath, qint64 offset, qint64 length) override;
    QDateTime modificationTime(const QString &path) override;
    void deleteFile(const QString &path) override;
    void makeDirectory(const QString &path) override;
    void removeDirectory(const QString &path) override;
    void site(const QString &command) override;
    void rename(const QString &from, const QString &to) override;
    qint64 size(const QString &path) override;
    void abort() override;
    void cancel() override;

private:
    // Runs one piece of work in the worker thread and waits for it in a local event loop.
    void run(const std::function<void(FtpProtocol &)> &work);
    // One connect attempt with the certificates trusted so far.
    void connectOnce();
    // The application is quitting: the worker stops for good.
    void stopForQuit();

    FtpSettings m_settings;
    QThread m_thread;
    FtpWorker *m_worker = nullptr;
    std::atomic_bool m_abortRequested{false};
    std::atomic_bool m_stopping{false}; // every wait of the worker ends at once
    std::atomic_bool m_final{false};    // the stop is for good (shutdown, the program quits)
    bool m_quitting = false;
    bool m_cancelled = false; // cancel() was called during the command in flight
    bool m_busy = false;
    bool m_connected = false;
    bool m_canResume = false;
    bool m_utf8 = false;
    QString m_greeting;
    QString m_system;
    QList<QDateTime> m_dates;
    FtpCertificateTrust *m_trust = nullptr;
    // "host:port" -> the fingerprint the user accepted for this program run.
    QHash<QString, QString> m_acceptedThisRun;
    QString m_encryptionText;
};

} // namespace Velmora
