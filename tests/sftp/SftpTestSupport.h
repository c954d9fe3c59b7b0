#pragma once

#include "QtPrinters.h"
#include "SshTestServer.h"
#include "engine/sftp/SftpClient.h"
#include "engine/sftp/SftpError.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace Velmora::Testing {

// Answers host-key questions from a script and records every key it was shown.
class ScriptedHostKeyTrust : public SshHostKeyTrust {
public:
    explicit ScriptedHostKeyTrust(QList<Answer> answers = {})
        : m_answers(std::move(answers))
    {
    }
    Answer decide(const SshHostKey &key) override
    {
        shown.append(key);
        return m_answers.isEmpty() ? Answer::Cancel : m_answers.takeFirst();
    }
    QList<SshHostKey> shown;

private:
    QList<Answer> m_answers;
};

// Answers passphrase questions from a script (std::nullopt: the user cancels).
class ScriptedPassphrase : public SshPassphrasePrompt {
public:
    explicit ScriptedPassphrase(QList<std::optional<QString>> answers)
        : m_answers(std::move(answers))
    {
    }
    std::optional<QString> passphrase(const QString &keyFile, int attempt) override
    {
        asked.append(keyFile + u'#' + QString::number(attempt));
        return m_answers.isEmpty() ? std::nullopt : m_answers.takeFirst();
    }
    QStringList asked;

private:
    QList<std::optional<QString>> m_answers;
};

// The user's side of a test: an empty ~/.ssh of its own (no default keys, no agent), a
// known_hosts file in it, and no system-wide known hosts.
class SshUserFolder {
public:
    QString sshFolder() const { return m_home.filePath(QStringLiteral(".ssh")); }
    QString knownHostsFile() const { return sshFolder() + QStringLiteral("/known_hosts"); }

    // A client for the server that logs in with the server's user key; without a trust the
    // host key must be known already.
    std::unique_ptr<SftpClient> client(const SshTestServer &server, SshHostKeyTrust *trust = nullptr) const
    {
        auto client = std::make_unique<SftpClient>();
        client->setHost(server.host());
        client->setPort(server.port());
        client->setUser(server.user());
        client->setKeyFile(server.userKeyFile());
        client->setUseAgent(false);
        client->setUseDefaultKeys(false);
        client->setSshFolder(sshFolder());
        client->setKnownHostsFile(knownHostsFile());
        client->setGlobalKnownHostsFile(m_home.filePath(QStringLiteral("no_global_known_hosts")));
        client->setHostKeyTrust(trust);
        return client;
    }

private:
    QTemporaryDir m_home;
};

} // namespace Velmora::Testing
