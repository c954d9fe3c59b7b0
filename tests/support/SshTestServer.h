#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace Velmora::Testing {

// A real SSH server for one test: OpenSSH's sshd on a free loopback port, with a host key and
// a user key made at test time in a temporary folder, logging in the user the tests run as
// (no PAM; keys from a temporary authorized_keys file). The files the tests transfer live in
// root(), which the server reaches by its absolute path. It stops with the fixture.
class SshTestServer {
public:
    struct Setup {
        QString hostKeyType = QStringLiteral("ed25519");
    };

    SshTestServer();
    explicit SshTestServer(Setup setup);
    ~SshTestServer();
    SshTestServer(const SshTestServer &) = delete;
    SshTestServer &operator=(const SshTestServer &) = delete;

    // Whether sshd and ssh-keygen are installed.
    static bool isAvailable();

    // Makes the keys and starts sshd on a free port; false with errorText() when it cannot.
    bool start();
    void stop();
    // A new host key of the given type, and the server started again on the same port.
    bool changeHostKey(const QString &type);
    // Ends every open connection (the processes serving them are killed); the server listens on.
    void dropConnections();
    // Freezes the processes serving the open connections (the server falls silent), or lets
    // them go on.
    void pauseConnections(bool paused);

    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return m_port; }
    QString user() const { return m_user; }
    QString errorText() const { return m_error; }
    // The host key: its public line ("type base64 comment") and type.
    QByteArray hostPublicKey() const;
    QString hostKeyType() const { return m_hostKeyType; }
    // The fingerprint as OpenSSH's ssh-keygen prints it ("SHA256:...").
    QString hostKeyFingerprint() const;

    // A private key file that the server accepts (no passphrase), made at start.
    QString userKeyFile() const { return m_userKey; }
    // Makes a further key pair in the key folder; with authorize, the server accepts it.
    QString makeUserKey(const QString &name, const QString &type, const QString &passphrase, bool authorize);

    // The folder for the files of a test, without a trailing "/" (an absolute path on the
    // server as well).
    QString root() const { return m_files.path(); }
    QString remotePath(const QString &relativePath) const { return root() + u'/' + relativePath; }
    QString writeFile(const QString &relativePath, const QByteArray &content) const;
    QByteArray readFile(const QString &relativePath) const;
    // The folder for keys, known_hosts files and the server's configuration.
    QString keyFolder() const { return m_keys.path(); }

    // Runs a program of OpenSSH (ssh-keygen, ssh-add, ...) and returns its standard output;
    // *ok tells whether it ended with status 0.
    // The SHA-256 fingerprint ssh-keygen gives for a public key file ("SHA256:...").
    static QString fingerprintOf(const QString &publicKeyFile);
    // A file under a served folder, written (folders made) or read; empty when it cannot be read.
    static QString writeFileUnder(const QString &root, const QString &relativePath, const QByteArray &content);
    static QByteArray readFileUnder(const QString &root, const QString &relativePath);
    static QByteArray runTool(const QString &program, const QStringList &arguments, bool *ok = nullptr,
                              const QStringList &environment = {});

private:
    bool writeConfig();
    bool launch();

    Setup m_setup;
    QTemporaryDir m_keys;
    QTemporaryDir m_files;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_user;
    QString m_hostKey;
    QString m_hostKeyType;
    QString m_userKey;
    QString m_error;
};

} // namespace Velmora::Testing
