#pragma once

#include "engine/ftp/FtpClient.h"
#include "engine/sftp/SftpClient.h"

#include <functional>
#include <optional>

namespace Velmora {

class SftpError;

// The SFTP client behind the client contract the session and everything above it use, so that
// a site reached over SSH is browsed, walked, queued and edited like an FTP site. Folders are
// read from the SFTP attributes as typed entries; SFTP knows no ASCII mode, so every transfer
// is binary whatever type is asked for; "SITE CHMOD" sets the mode bits; a rename onto an
// existing file replaces it, as FTP servers do. Every SftpError leaves as an FtpError of the
// matching kind with the same message.
class SftpSessionClient : public FtpClient {
    Q_OBJECT
public:
    explicit SftpSessionClient(QObject *parent = nullptr);

    SftpClient &sftp() { return m_sftp; }

    void setHost(const QString &host) override { m_sftp.setHost(host); }
    QString host() const override { return m_sftp.host(); }
    void setPort(quint16 port) override { m_sftp.setPort(port); }
    quint16 port() const override { return m_sftp.port(); }
    void setUser(const QString &user) override { m_sftp.setUser(user); }
    void setPassword(const QString &password) override { m_sftp.setPassword(password); }
    // SFTP runs over the one SSH connection: there is no active or passive mode.
    void setPassive(bool passive) override { m_passive = passive; }
    bool isPassive() const override { return m_passive; }
    // The connect time-out is SSH's; the longer of the reply and data time-outs is the time a
    // silent server is given afterwards.
    void setTimeouts(const FtpTimeouts &timeouts) override;
    FtpTimeouts timeouts() const override { return m_timeouts; }
    FtpEncryption encryption() const override { return FtpEncryption::Sftp; }
    QString encryptionText() const override;
    QHash<QString, QString> acceptedThisRun() const override { return m_sftp.acceptedThisRun(); }
    void setAcceptedThisRun(const QHash<QString, QString> &accepted) override { m_sftp.setAcceptedThisRun(accepted); }

    void connectAndLogin() override;
    void closeConnection() override;
    void quit() override { closeConnection(); }
    bool isConnected() const override { return m_sftp.isConnected(); }
    bool isBusy() const override { return m_sftp.isBusy(); }
    QString greeting() const override { return m_greeting; }
    QString systemDescription() const override { return m_system; }

    // Always binary.
    void setTransferType(TransferType) override {}
    TransferType transferType() const override { return TransferType::Binary; }

    // "ls -l" lines made from the entries, for callers that read listing text.
    QStringList list(const QString &specifier = {}) override;
    QList<QDateTime> listedDates() const override { return m_listedDates; }
    bool listsEntries() const override { return true; }
    // Names that are no valid UTF-8 cannot be named back to the server: they are left out, and
    // unusableNames() holds them (as far as they can be shown) until the next listing.
    QList<ListingEntry> listEntries(const QString &folder = {}) override;
    QStringList unusableNames() const { return m_unusableNames; }
    void changeDirectory(const QString &path) override;
    // Asks the server (so that it also tells whether the connection still works).
    QString currentDirectory() override;
    FtpTransferResult download(const QString &remotePath, const QString &localPath) override;
    FtpTransferResult upload(const QString &localPath, const QString &remotePath) override;
    void deleteFile(const QString &path) override;
    void makeDirectory(const QString &path) override;
    void removeDirectory(const QString &path) override;
    // "CHMOD <octal mode> <path>"; other SITE commands do not exist over SFTP.
    void site(const QString &command) override;
    void rename(const QString &from, const QString &to) override;
    qint64 size(const QString &path) override;
    void abort() override { m_sftp.abort(); }
    void cancel() override;

    // The host key that made the last connect fail (unknown and not trusted, or changed).
    std::optional<SshHostKey> refusedHostKey() const { return m_refusedHostKey; }

    // The FtpError an SftpError becomes.
    static FtpError Translated(const SftpError &error);

private:
    // Runs one call of the SFTP client, translating its errors.
    void call(const std::function<void()> &work);
    static Direction direction(SftpClient::Direction direction);

    SftpClient m_sftp;
    FtpTimeouts m_timeouts;
    bool m_passive = true;
    QString m_greeting;
    QString m_system;
    QList<QDateTime> m_listedDates;
    QStringList m_unusableNames;
    std::optional<SshHostKey> m_refusedHostKey;
};

} // namespace Velmora
