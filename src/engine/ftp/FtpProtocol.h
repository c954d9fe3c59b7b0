#pragma once

#include "FtpControlChannel.h"
#include "FtpSettings.h"
#include "ServerNameCodec.h"

#include <QDateTime>
#include <QStringList>

#include <atomic>
#include <functional>
#include <initializer_list>

class QIODevice;

namespace Velmora {

class FtpDataConnection;
class FtpEvents;

// The RFC 959 conversation, run in the worker thread with blocking calls: one command at a time,
// each waiting for its reply. Every failure raises FtpError; a time-out or a lost connection
// closes the control connection, so the next connection test fails and reconnects.
class FtpProtocol {
public:
    FtpProtocol(FtpEvents &events, const std::atomic_bool &abortRequested, const std::atomic_bool &stopping);
    ~FtpProtocol();

    void connectAndLogin(const FtpSettings &settings);
    void closeConnection();
    void quit(const FtpSettings &settings);
    bool isConnected() const;

    QString greeting() const { return m_greeting; }
    QString systemDescription() const { return m_system; }
    bool isUtf8() const { return m_names.isUtf8(); }
    QStringList features() const { return m_features; }
    // "TLSv1.3, TLS_AES_256_GCM_SHA384" while the control connection is encrypted, else empty.
    QString encryptionText() const { return m_control.tlsSessionText(); }

    void setTransferType(const FtpSettings &settings);
    QStringList list(const FtpSettings &settings, const QString &specifier, QList<QDateTime> *dates);
    void changeDirectory(const FtpSettings &settings, const QString &path);
    QString currentDirectory(const FtpSettings &settings);
    FtpTransferResult download(const FtpSettings &settings, const QString &remotePath, const QString &localPath);
    FtpTransferResult resumeDownload(const FtpSettings &settings, const QString &remotePath, const QString &localPath);
    bool canResume() const { return m_features.contains(QStringLiteral("REST")); }
    FtpTransferResult upload(const FtpSettings &settings, const QString &localPath, const QString &remotePath,
                             qint64 offset = 0);
    FtpTransferResult resumeUpload(const FtpSettings &settings, const QString &localPath, const QString &remotePath,
                                   qint64 offset);
    QByteArray readFrom(const FtpSettings &settings, const QString &remotePath, qint64 offset, qint64 maxBytes);
    QByteArray readRange(const FtpSettings &settings, const QString &remotePath, qint64 offset, qint64 length);
    QDateTime modificationTime(const FtpSettings &settings, const QString &path);
    void simpleCommand(const FtpSettings &settings, const QByteArray &verb, const QString &argument,
                       std::initializer_list<int> accepted);
    void rename(const FtpSettings &settings, const QString &from, const QString &to);
    qint64 size(const FtpSettings &settings, const QString &path);

    static inline const QString UnknownSystem = QStringLiteral("Unknown system type");

private:
    FtpReply command(const QByteArray &verb, const QString &argument = {});
    FtpReply commandBytes(const QByteArray &line);
    void expect(const FtpReply &reply, std::initializer_list<int> accepted);
    void requireConnection() const;
    void applyType(FtpClient::TransferType type);
    // What a continuation needs: binary mode and a server that restarts transfers.
    void requireRestart(const FtpSettings &settings, const QString &remotePath);
    // AUTH TLS as the encryption choice asks; false when "if available" goes on unencrypted.
    bool negotiateExplicitTls();
    // The TLS handshake on the control connection and the judgement of its certificate.
    void secureControl();

    std::unique_ptr<FtpDataConnection> openDataConnection();
    // Runs a data command: prepares the data connection, sends the command, moves the bytes
    // and reads the final reply. 'move' receives the open connection and the size the "150"
    // reply announced (-1 when it named none).
    // restartAt: an offset sent with REST right before the command (0: none).
    void runDataCommand(const QByteArray &verb, const QString &argument,
                        const std::function<void(FtpDataConnection &data, qint64 announced)> &move, qint64 restartAt = 0);
    [[noreturn]] void abortTransfer(FtpDataConnection &data);
    // ABOR for a transfer that is still running, with the replies that follow; false when the
    // conversation broke down (the connection is closed then).
    bool sendAbor(FtpDataConnection &data);

    FtpEvents &m_events;
    const std::atomic_bool &m_abortRequested;
    const std::atomic_bool &m_stopping;
    FtpControlChannel m_control;
    FtpSettings m_settings;
    ServerNameCodec m_names;
    QString m_greeting;
    QString m_system;
    QStringList m_features;
    bool m_loggedIn = false;
    bool m_epsvRefused = false;
    bool m_dataTls = false; // "PROT P": every data connection is TLS
    bool m_aborted = false;
    bool m_transferStopped = false; // the running data command was ended with ABOR on purpose
    int m_serverType = -1; // -1 unknown, else the FtpClient::TransferType last sent
};

} // namespace Velmora
