#pragma once

#include "SessionFixture.h"
#include "SshTestServer.h"

#include "engine/ftp/FtpEncryption.h"

#include <QDir>
#include <QFile>

namespace Velmora::Testing {

// A session against OpenSSH's sshd: the user's ~/.ssh is the test's own (empty, no agent), and
// the site logs in with the server's user key as its key file.
class SftpSessionTest : public SessionTest {
protected:
    SftpSessionTest()
        : m_agent(qgetenv("SSH_AUTH_SOCK"))
    {
        qunsetenv("SSH_AUTH_SOCK");
    }
    ~SftpSessionTest() override
    {
        if (!m_agent.isNull())
            qputenv("SSH_AUTH_SOCK", m_agent);
    }

    void SetUp() override
    {
        ASSERT_TRUE(ssh.start()) << ssh.errorText().toStdString();
        useSite(*master);
    }

    // The test server as the session's SFTP site.
    void useSite(MasterFTP &session) const
    {
        session.SetConnectionData(ssh.host(), QString::number(ssh.port()), ssh.user(), QString(), 0);
        session.setEncryption(FtpEncryption::Sftp);
        session.setKeyFile(ssh.userKeyFile());
    }

    static QString sshFolder() { return QDir::homePath() + QStringLiteral("/.ssh"); }
    static QString knownHostsFile() { return sshFolder() + QStringLiteral("/known_hosts"); }
    static QByteArray knownHosts()
    {
        QFile file(knownHostsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString hostPattern() const { return QStringLiteral("[127.0.0.1]:%1").arg(ssh.port()); }

    // Connects, answering the host-key window with "Trust this time".
    void connectTrusting()
    {
        prompts.hostKeyAnswers = {UserPrompts::CertificateAnswer::TrustThisTime};
        ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
        prompts.clear();
    }

    SshTestServer ssh;

private:
    QByteArray m_agent;
};

} // namespace Velmora::Testing
