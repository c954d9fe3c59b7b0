#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace Velmora::Testing {

// A real FTP server for one test: pyftpdlib (run with /usr/bin/python3) on a free loopback port,
// serving a fresh temporary folder to one user with full rights. It stops with the fixture, and
// on its own when the test process dies (it ends when its standard input closes).
class FtpTestServer {
public:
    struct Setup {
        QString host = QStringLiteral("127.0.0.1"); // "::1" for IPv6
        QString user = QStringLiteral("velmora");
        QString password = QStringLiteral("secret");
        bool refuseEpsv = false; // clients must fall back to PASV
        bool refusePassive = false; // EPSV and PASV refused: only active mode transfers
        // When not 0: every data transfer moves this many bytes, then nothing more until the
        // client aborts it, so an abort after the first progress always lands mid-transfer.
        // Files shorter than this move normally (do not use files of exactly this size).
        qint64 holdTransfersAfter = 0;
        // With holdTransfersAfter: a held transfer goes on to its end once this file exists,
        // so a test can act while a transfer is surely running and then let it finish.
        QString releaseFile;
        // FTP over TLS: "explicit" (AUTH TLS) or "implicit"; empty for plain FTP.
        QString tls;
        QString certificateFile; // PEM with the certificate and its key (see TlsTestCertificates)
        bool requireSessionReuse = false; // data connections must resume the control session
        bool outdatedTlsOnly = false;     // TLS 1.0 and 1.1 only, as old servers speak it
        QString commandLog; // when set, every command verb received is appended to this file
        bool refuseRest = false; // no "REST STREAM" in FEAT and REST unknown: transfers cannot restart
        // When set, every command with its argument is appended to this file, and "DONE <path>"
        // (the server's absolute local path) when a file transfer has ended.
        QString orderLog;
        int maxConnectionsPerIp = 0; // when not 0: connections beyond this many get 421 at once
    };

    FtpTestServer();
    explicit FtpTestServer(Setup setup);
    ~FtpTestServer();
    FtpTestServer(const FtpTestServer &) = delete;
    FtpTestServer &operator=(const FtpTestServer &) = delete;

    // Starts on a free port (or the given one); false with errorText() when it cannot.
    bool start(quint16 port = 0);
    void stop();
    // Stops and starts again on the same port: every open connection is dropped.
    bool restart();
    // Setup::holdTransfersAfter from the next start (or restart) on.
    void setHoldTransfersAfter(qint64 bytes) { m_setup.holdTransfersAfter = bytes; }
    // Setup::refuseRest from the next start (or restart) on.
    void setRefuseRest(bool refuse) { m_setup.refuseRest = refuse; }
    // Setup::certificateFile from the next start (or restart) on.
    void setCertificateFile(const QString &file) { m_setup.certificateFile = file; }
    bool isRunning() const;

    QString host() const { return m_setup.host; }
    quint16 port() const { return m_port; }
    QString user() const { return m_setup.user; }
    QString password() const { return m_setup.password; }
    QString errorText() const { return m_error; }
    // The served folder, without a trailing "/".
    QString root() const { return m_root.path(); }

    // Creates a file below the served folder (with its folders); returns its local path.
    QString writeFile(const QString &relativePath, const QByteArray &content) const;
    QByteArray readFile(const QString &relativePath) const;
    QString localPath(const QString &relativePath) const;

    // Whether the machine can bind the IPv6 loopback address.
    static bool hasIpv6Loopback();
    static QString scriptPath();

private:
    Setup m_setup;
    QTemporaryDir m_root;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_error;
};

} // namespace Velmora::Testing
