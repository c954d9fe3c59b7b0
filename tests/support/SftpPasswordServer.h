#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace Velmora::Testing {

// A real SFTP server that checks a password of its own (python3-asyncssh, run with
// /usr/bin/python3 from sftp_password_server.py) on a free loopback port, serving a fresh
// temporary folder as "/" to one user; it takes passwords only. OpenSSH's sshd would check the
// system's accounts, which a test must not change. It stops with the fixture, and on its own
// when the test process dies (it ends when its standard input closes).
class SftpPasswordServer {
public:
    // How the server asks for the password: as a password login, or as the answer to a
    // keyboard-interactive question (as servers that check passwords through PAM do).
    enum class Method { Password, KeyboardInteractive };

    explicit SftpPasswordServer(Method method = Method::Password);
    ~SftpPasswordServer();
    SftpPasswordServer(const SftpPasswordServer &) = delete;
    SftpPasswordServer &operator=(const SftpPasswordServer &) = delete;

    // Whether python3 has asyncssh and ssh-keygen is installed.
    static bool isAvailable();

    // Makes a host key and starts on a free port; false with errorText() when it cannot.
    bool start();
    void stop();

    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return m_port; }
    QString user() const { return QStringLiteral("velmora"); }
    QString password() const { return QStringLiteral("pässword with blanks"); }
    QString errorText() const { return m_error; }
    // The fingerprint as OpenSSH's ssh-keygen prints it ("SHA256:...").
    QString hostKeyFingerprint() const;

    // The served folder on this machine, without a trailing "/"; the client sees it as "/".
    QString root() const { return m_files.path(); }
    QString writeFile(const QString &relativePath, const QByteArray &content) const;
    QByteArray readFile(const QString &relativePath) const;

private:
    Method m_method;
    QTemporaryDir m_keys;
    QTemporaryDir m_files;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_hostKey;
    QString m_error;
};

} // namespace Velmora::Testing
