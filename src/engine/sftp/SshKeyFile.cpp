#include "SshKeyFile.h"

#include "SshHostKey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Velmora {

namespace {

SshKey importPrivate(const QString &path, const QByteArray *passphrase)
{
    ssh_key key = nullptr;
    const QByteArray file = QFile::encodeName(path);
    if (ssh_pki_import_privkey_file(file.constData(), passphrase ? passphrase->constData() : nullptr, nullptr,
                                    nullptr, &key) != SSH_OK)
        return {};
    return SshKey(key);
}

} // namespace

bool SshKeyFile::exists() const
{
    return QFileInfo(m_path).isFile();
}

SshKey SshKeyFile::publicKey() const
{
    ssh_key key = nullptr;
    const QByteArray publicFile = QFile::encodeName(m_path + QStringLiteral(".pub"));
    if (QFileInfo::exists(m_path + QStringLiteral(".pub"))
        && ssh_pki_import_pubkey_file(publicFile.constData(), &key) == SSH_OK)
        return SshKey(key);
    const QByteArray empty;
    SshKey privateKey = importPrivate(m_path, &empty);
    if (!privateKey)
        return {};
    if (ssh_pki_export_privkey_to_pubkey(privateKey.get(), &key) != SSH_OK)
        return {};
    return SshKey(key);
}

SshKey SshKeyFile::privateKey(SshPassphrasePrompt *prompt, QString *error, bool *cancelled) const
{
    *cancelled = false;
    const QString shown = QDir::toNativeSeparators(m_path);
    QFile probe(m_path);
    if (!probe.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("The key file %1 cannot be read: %2").arg(shown, probe.errorString());
        return {};
    }
    probe.close();
    // An empty passphrase opens every key that has none, without a question.
    const QByteArray empty;
    if (SshKey key = importPrivate(m_path, &empty))
        return key;
    if (!prompt) {
        *error = QStringLiteral("The key file %1 needs a passphrase.").arg(shown);
        return {};
    }
    for (int attempt = 1; attempt <= PassphraseAttempts; ++attempt) {
        const std::optional<QString> passphrase = prompt->passphrase(m_path, attempt);
        if (!passphrase) {
            *cancelled = true;
            *error = QStringLiteral("No passphrase given for the key file %1.").arg(shown);
            return {};
        }
        QByteArray bytes = passphrase->toUtf8();
        SshKey key = importPrivate(m_path, &bytes);
        bytes.fill('\0');
        if (key)
            return key;
    }
    *error = QStringLiteral("The key file %1 cannot be opened: wrong passphrase, or not a private key.").arg(shown);
    return {};
}

} // namespace Velmora
