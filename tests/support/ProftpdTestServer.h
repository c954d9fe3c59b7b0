#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace Velmora::Testing {

// proftpd for one test, where its own defaults are the point (a STOR after REST refused, an
// idle time-out): started by proftpd_test_server.py in the foreground with a private
// configuration on a free loopback port, serving a fresh temporary folder to one user. It
// stops with the fixture, and on its own when the test process dies. Never the system's
// service. proftpd needs root to change its user and chroot; as another user start() fails
// and needsRoot() says why (the tests skip then).
class ProftpdTestServer {
public:
    struct Setup {
        QString user = QStringLiteral("velmora");
        QString password = QStringLiteral("secret");
        int idleTimeoutSeconds = 0;     // TimeoutIdle; 0: proftpd's default
        bool allowStoreRestart = false; // proftpd's default: a STOR after REST is refused
        int rateKiB = 0;                // TransferRate for downloads and uploads in KiB/s; 0: none
        QString commandLog;             // when set, every command verb received, one a line
    };

    ProftpdTestServer();
    explicit ProftpdTestServer(Setup setup);
    ~ProftpdTestServer();
    ProftpdTestServer(const ProftpdTestServer &) = delete;
    ProftpdTestServer &operator=(const ProftpdTestServer &) = delete;

    static bool needsRoot();
    bool start();
    void stop();
    // Stops and starts again on the same port: every open connection is dropped.
    bool restart();

    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return m_port; }
    QString user() const { return m_setup.user; }
    QString password() const { return m_setup.password; }
    QString errorText() const { return m_error; }
    QString root() const { return m_root.path(); }

    QString writeFile(const QString &relativePath, const QByteArray &content) const;
    QByteArray readFile(const QString &relativePath) const;
    QString localPath(const QString &relativePath) const;

private:
    Setup m_setup;
    QTemporaryDir m_root;
    QTemporaryDir m_work;
    QProcess m_process;
    quint16 m_port = 0;
    quint16 m_fixedPort = 0; // a restart keeps the port
    QString m_error;
};

} // namespace Velmora::Testing
