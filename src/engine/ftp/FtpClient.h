#pragma once

#include "FtpEncryption.h"
#include "FtpError.h"

#include "common/ListingEntry.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace Velmora {

// Time-outs of the FTP client in milliseconds: establishing a connection (control or data),
// waiting for a reply, and a data connection that moves no byte.
struct FtpTimeouts {
    int connectMs = 20000;
    int replyMs = 60000;
    int dataIdleMs = 60000;
};

// What a download or upload moved. wireBytes counts the bytes on the data connection (in ASCII
// mode before the line ends are converted), fileBytes those written to or read from the local
// file; announcedBytes is the size the server named in its "150 ... (n bytes)" reply, or -1.
struct FtpTransferResult {
    qint64 wireBytes = 0;
    qint64 fileBytes = 0;
    qint64 announcedBytes = -1;
};

// The FTP client layer the engine relies on (RFC 959, one control connection, one data
// connection at a time). Every operation blocks its caller until it is done and raises FtpError
// with a message text on failure; the events arrive on the caller's thread while it waits.
class FtpClient : public QObject {
    Q_OBJECT
public:
    enum class TransferType { Ascii, Binary };
    Q_ENUM(TransferType)
    // The work mode of the progress events.
    enum class Direction { Download, Upload };
    Q_ENUM(Direction)

    static constexpr quint16 DefaultPort = 21;

    using QObject::QObject;

    // Connection settings, used by the next connect.
    virtual void setHost(const QString &host) = 0;
    virtual QString host() const = 0;
    virtual void setPort(quint16 port) = 0;
    virtual quint16 port() const = 0;
    virtual void setUser(const QString &user) = 0;
    virtual void setPassword(const QString &password) = 0;
    // false: active mode (the client listens, PORT/EPRT); true: passive mode (EPSV, then PASV).
    virtual void setPassive(bool passive) = 0;
    virtual bool isPassive() const = 0;
    virtual void setTimeouts(const FtpTimeouts &timeouts) = 0;
    virtual FtpTimeouts timeouts() const = 0;
    // FTP over TLS for the next connect; plain FTP unless set.
    virtual void setEncryption(FtpEncryption) {}
    virtual FtpEncryption encryption() const { return FtpEncryption::Plain; }
    // Who decides about certificates the system does not trust. Without one such a certificate
    // fails the connect.
    virtual void setCertificateTrust(FtpCertificateTrust *) {}
    // "TLSv1.3, TLS_AES_256_GCM_SHA384" while the connection is encrypted, else empty.
    virtual QString encryptionText() const { return {}; }
    // The certificates or host keys the user accepted for this program run only (fingerprints
    // by "host:port"). A second connection to the same site is given them, so that it takes
    // what the user already accepted without asking again.
    virtual QHash<QString, QString> acceptedThisRun() const { return {}; }
    virtual void setAcceptedThisRun(const QHash<QString, QString> &accepted) { Q_UNUSED(accepted); }

    // Connects, reads the greeting and logs in (USER, PASS unless USER gave 230), then sends
    // TYPE with the current transfer type and SYST.
    virtual void connectAndLogin() = 0;
    // Closes the control connection without a command.
    virtual void closeConnection() = 0;
    // "QUIT" when connected, then closes.
    virtual void quit() = 0;
    virtual bool isConnected() const = 0;
    // A command is in progress; a second one is refused (commands never interleave).
    virtual bool isBusy() const = 0;
    // The greeting (every line, without codes, joined by "\n") and the first line of the SYST
    // reply, or "Unknown system type" when the server does not tell.
    virtual QString greeting() const = 0;
    virtual QString systemDescription() const = 0;

    // Binary until a transfer chooses ASCII. Setting it while connected sends "TYPE A" or
    // "TYPE I" at once, unless the server already has that type.
    virtual void setTransferType(TransferType type) = 0;
    virtual TransferType transferType() const = 0;

    // "LIST " + specifier, trimmed; the raw lines in order.
    virtual QStringList list(const QString &specifier = {}) = 0;
    // Per line of the last list: the modification date (invalid where the line shows none).
    virtual QList<QDateTime> listedDates() const = 0;
    // A client whose protocol describes folders by typed attributes (no listing text) reads
    // them as entries: the folder (empty: the current one) in the server's order, without "."
    // and "..". The others list text and refuse this.
    virtual bool listsEntries() const { return false; }
    virtual QList<ListingEntry> listEntries(const QString &folder = {})
    {
        Q_UNUSED(folder);
        throw FtpError(QStringLiteral("This client lists folders as text."), FtpError::Kind::Refused);
    }
    virtual void changeDirectory(const QString &path) = 0;
    virtual QString currentDirectory() = 0;
    // Into a new local file: refuses, without contacting the server, when it exists. A failed
    // or aborted download leaves no local file behind. Whether the file is whole is the
    // caller's to judge from the result: a server may close the data connection early and
    // still report success.
    virtual FtpTransferResult download(const QString &remotePath, const QString &localPath) = 0;
    virtual FtpTransferResult upload(const QString &localPath, const QString &remotePath) = 0;
    // The server restarts a transfer at an offset (FEAT names "REST STREAM").
    virtual bool canResume() const { return false; }
    // Continues a binary download into the existing partial local file from its size on (REST,
    // then RETR). Unlike download, a failed or aborted continuation leaves the partial file as
    // it is, so a later call can go on from there. Refused without contacting the server when the
    // server cannot restart transfers or the transfer type is ASCII.
    virtual FtpTransferResult resumeDownload(const QString &remotePath, const QString &localPath)
    {
        Q_UNUSED(remotePath);
        Q_UNUSED(localPath);
        throw FtpError(QStringLiteral("This client cannot resume transfers."));
    }
    // Continues a binary upload: the local file from offset on goes to the server after "REST
    // offset", and STOR writes it from there, after the offset bytes the server holds. Refused
    // like resumeDownload. The result counts the bytes of this transfer only.
    virtual FtpTransferResult resumeUpload(const QString &localPath, const QString &remotePath, qint64 offset)
    {
        Q_UNUSED(localPath);
        Q_UNUSED(remotePath);
        Q_UNUSED(offset);
        throw FtpError(QStringLiteral("This client cannot resume transfers."));
    }
    // The bytes of a remote file from offset on (REST, then RETR, binary), when there are at most
    // maxBytes of them; a longer file fails the call. Refused like resumeDownload.
    virtual QByteArray readFrom(const QString &remotePath, qint64 offset, qint64 maxBytes)
    {
        Q_UNUSED(remotePath);
        Q_UNUSED(offset);
        Q_UNUSED(maxBytes);
        throw FtpError(QStringLiteral("This client cannot resume transfers."));
    }
    // The bytes [offset, offset + length) of a remote file (REST, then RETR, binary): once they
    // have arrived the transfer is stopped with ABOR. Fewer when the file ends before. Refused
    // like resumeDownload.
    virtual QByteArray readRange(const QString &remotePath, qint64 offset, qint64 length)
    {
        Q_UNUSED(remotePath);
        Q_UNUSED(offset);
        Q_UNUSED(length);
        throw FtpError(QStringLiteral("This client cannot resume transfers."));
    }
    // The time the server says the file was last modified (MDTM, UTC), or an invalid date when it
    // does not tell.
    virtual QDateTime modificationTime(const QString &path)
    {
        Q_UNUSED(path);
        return {};
    }
    virtual void deleteFile(const QString &path) = 0;
    virtual void makeDirectory(const QString &path) = 0;
    virtual void removeDirectory(const QString &path) = 0;
    // "SITE " + command, expecting 200 ("CHMOD 644 /a.txt").
    virtual void site(const QString &command) = 0;
    virtual void rename(const QString &from, const QString &to) = 0;
    // The size when the server answers 213, else -1.
    virtual qint64 size(const QString &path) = 0;
    // Called from a progress handler: the running transfer sends ABOR, closes its data
    // connection and ends with FtpError("Transfer aborted").
    virtual void abort() = 0;
    // Drops the connection without QUIT. A command in flight (this is called from an event
    // handler while it waits) ends at once with FtpError "Disconnected." (Kind::Aborted); the
    // client counts as not connected from this call on.
    virtual void cancel() = 0;

Q_SIGNALS:
    void statusReported(const QString &text);
    // A status the user must notice (plain FTP after "TLS if available" found none).
    void warningReported(const QString &text);
    void connected();
    void workBegan(Velmora::FtpClient::Direction direction, qint64 expectedBytes);
    void workProgressed(Velmora::FtpClient::Direction direction, qint64 bytes);
    void workEnded(Velmora::FtpClient::Direction direction);
};

} // namespace Velmora
