#include "TransferSession.h"

#include "app/ProtocolLog.h"
#include "engine/CertificateTrustStore.h"
#include "engine/SftpSessionClient.h"
#include "engine/ftp/QtFtpClient.h"

namespace Velmora {

namespace {

// Certificates of this connection: those the user trusts always (the store) pass; anything
// else would need the user, whom an extra connection does not ask.
class StoredCertificateTrust : public FtpCertificateTrust {
public:
    explicit StoredCertificateTrust(const QString &appDataFolder)
        : m_store(appDataFolder)
    {
    }
    QString trustedFingerprint(const QString &host, quint16 port) const override { return m_store.fingerprint(host, port); }
    bool accept(const FtpCertificate &) override { return false; }

private:
    CertificateTrustStore m_store;
};

} // namespace

TransferSession::TransferSession(int number, const SessionLogin &login, const TransferMover::Setup &setup, QObject *parent)
    : QObject(parent)
    , m_number(number)
    , m_login(login)
    , m_setup(setup)
    , m_anchor(new QObject)
{
    qRegisterMetaType<Velmora::TransferOutcome>();
    m_thread.setObjectName(QStringLiteral("TransferSession%1").arg(number));
    m_anchor->moveToThread(&m_thread);
    m_thread.start();
}

TransferSession::~TransferSession()
{
    if (m_client) {
        QMetaObject::invokeMethod(
            m_anchor,
            [this] {
                m_client->cancel();
                m_client.reset();
            },
            Qt::BlockingQueuedConnection);
    }
    m_thread.quit();
    m_thread.wait();
    delete m_anchor;
}

void TransferSession::open()
{
    m_busy = true;
    QMetaObject::invokeMethod(m_anchor, [this] { connectClient(); }, Qt::QueuedConnection);
}

void TransferSession::connectClient()
{
    if (m_login.encryption == FtpEncryption::Sftp) {
        auto sftp = std::make_unique<SftpSessionClient>();
        sftp->sftp().setKeyFile(m_login.keyFile);
        m_client = std::move(sftp);
    } else {
        m_client = std::make_unique<QtFtpClient>();
        m_trust = std::make_unique<StoredCertificateTrust>(m_login.appDataFolder);
        m_client->setCertificateTrust(m_trust.get());
    }
    m_client->setHost(m_login.host);
    m_client->setPort(m_login.port);
    m_client->setUser(m_login.user);
    m_client->setPassword(m_login.password);
    m_client->setPassive(m_login.passive);
    m_client->setEncryption(m_login.encryption);
    m_client->setTimeouts(m_login.timeouts);
    m_client->setAcceptedThisRun(m_login.acceptedThisRun);
    // Abort reaches a transfer as soon as it begins or moves, like on the engine's connection.
    connect(m_client.get(), &FtpClient::workBegan, m_anchor, [this] {
        m_abortSent = false; // a flag left by a command before the transfer is cleared by it
        abortIfRequested();
    });
    connect(m_client.get(), &FtpClient::workProgressed, m_anchor, [this] { abortIfRequested(); });
    bool ok = true;
    QString message;
    try {
        m_client->connectAndLogin();
    } catch (const FtpError &error) {
        ok = false;
        message = error.message();
    }
    m_open = ok;
    m_busy = false;
    Q_EMIT opened(ok, message);
}

void TransferSession::start(int index, const TransferJob &job)
{
    m_busy = true;
    QMetaObject::invokeMethod(
        m_anchor,
        [this, index, job] {
            const TransferOutcome outcome = carryOut(job);
            m_busy = false;
            Q_EMIT finished(index, outcome);
        },
        Qt::QueuedConnection);
}

TransferOutcome TransferSession::carryOut(const TransferJob &job)
{
    TransferOutcome outcome;
    m_abortSent = false;
    try {
        if (m_abort)
            throw FtpError(QStringLiteral("Transfer aborted"), FtpError::Kind::Aborted);
        // A connection the server dropped since the last job is made again once.
        if (!m_client->isConnected())
            m_client->connectAndLogin();
        TransferMover mover(
            m_setup, [this](int kind, const QString &line) { Q_EMIT logLine(kind, line); }, [](qint64) {});
        outcome.correctedSize = mover.move(*m_client, job);
        outcome.ok = true;
    } catch (const FtpError &error) {
        outcome.kind = error.kind();
        outcome.replyCode = error.replyCode();
        outcome.error = error.message();
    }
    outcome.session = m_number;
    return outcome;
}

void TransferSession::abort()
{
    m_abort = true;
    QMetaObject::invokeMethod(m_anchor, [this] { abortIfRequested(); }, Qt::QueuedConnection);
}

void TransferSession::abortIfRequested()
{
    if (!m_abort || m_abortSent || !m_client || !m_client->isBusy())
        return;
    m_abortSent = true;
    Q_EMIT logLine(ProtocolEntry::Error, QStringLiteral("Transfer aborted"));
    m_client->abort();
}

void TransferSession::close()
{
    if (!m_client)
        return;
    QMetaObject::invokeMethod(
        m_anchor,
        [this] {
            if (m_client->isConnected()) {
                try {
                    m_client->quit();
                } catch (const FtpError &) {
                }
            }
            m_client.reset();
        },
        Qt::BlockingQueuedConnection);
    m_open = false;
}

} // namespace Velmora
