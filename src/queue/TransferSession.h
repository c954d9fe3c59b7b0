#pragma once

#include "TransferJob.h"
#include "TransferMover.h"

#include "engine/ftp/FtpClient.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QThread>

#include <atomic>
#include <memory>

namespace Velmora {

// How an extra connection to the engine's site logs in: the engine's own connection data, and
// the certificates or host keys the user accepted for this program run.
struct SessionLogin {
    QString host;
    quint16 port = 0;
    QString user;
    QString password;
    bool passive = true;
    FtpEncryption encryption = FtpEncryption::Plain;
    FtpTimeouts timeouts;
    QString keyFile;        // SFTP: the site's private key file, or empty
    QString appDataFolder;  // where the certificates trusted always are kept
    QHash<QString, QString> acceptedThisRun;
};

// One extra connection of a queue run that carries out one download or upload at a time. Its
// client lives on a thread of its own, because every client call blocks its caller until it is
// done: the window thread hands a job over with start() and hears the end by the queued signal
// finished(). The connection never asks the user anything: what the engine's connection was
// not allowed to do without the user (an unknown certificate or host key, a key passphrase)
// fails this connection's login, and the run goes on without it.
class TransferSession : public QObject {
    Q_OBJECT
public:
    TransferSession(int number, const SessionLogin &login, const TransferMover::Setup &setup, QObject *parent = nullptr);
    // Ends the thread; the connection is dropped without QUIT when close() was not called.
    ~TransferSession() override;

    int number() const { return m_number; }
    bool isOpen() const { return m_open; }
    bool isBusy() const { return m_busy; }
    // The session's client, for its progress signals (made by open()); null before.
    FtpClient *client() const { return m_client.get(); }

    // Connects and logs in on the session's thread; opened() tells how it went.
    void open();
    // Carries out the job on the session's thread; finished() reports it with its index.
    void start(int index, const TransferJob &job);
    // The running transfer ends as aborted, and a job started later fails at once.
    void abort();
    // Logs out (QUIT) and ends the thread; waits until that is done. The session must not be busy.
    void close();

Q_SIGNALS:
    void opened(bool ok, const QString &message);
    void finished(int index, const Velmora::TransferOutcome &outcome);
    // A line for the protocol (kind as ProtocolEntry's).
    void logLine(int kind, const QString &text);

private:
    // On the session's thread.
    void connectClient();
    TransferOutcome carryOut(const TransferJob &job);
    void abortIfRequested();

    int m_number;
    SessionLogin m_login;
    TransferMover::Setup m_setup;
    QThread m_thread;
    QObject *m_anchor; // lives on m_thread: what is queued to it runs there
    std::unique_ptr<FtpClient> m_client;
    std::unique_ptr<FtpCertificateTrust> m_trust;
    std::atomic<bool> m_abort{false};
    bool m_abortSent = false; // on the session's thread: the running transfer was told
    std::atomic<bool> m_open{false};
    std::atomic<bool> m_busy{false};
};

} // namespace Velmora
