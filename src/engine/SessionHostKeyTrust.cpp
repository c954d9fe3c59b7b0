#include "SessionHostKeyTrust.h"

#include "app/UserPrompts.h"
#include "common/Language.h"
#include "engine/sftp/SshHostKeyRefusal.h"

#include <QDir>

namespace Velmora {

SessionHostKeyTrust::SessionHostKeyTrust(UserPrompts &prompts, const Language &language)
    : m_prompts(prompts)
    , m_language(language)
{
}

QString SessionHostKeyTrust::WindowTitle(const Language &language)
{
    return language.text(QStringLiteral("Unknown host key"), QStringLiteral("Unbekannter Hostschlüssel"));
}

QString SessionHostKeyTrust::WindowText(const SshHostKey &key, const Language &language)
{
    const QString site = key.hostPattern();
    QStringList lines;
    lines << language.text(QStringLiteral("The host key of %1 is not known.").arg(site),
                           QStringLiteral("Der Hostschlüssel von %1 ist nicht bekannt.").arg(site));
    lines << language.text(QStringLiteral("Key type: "), QStringLiteral("Schlüsseltyp: ")) + key.keyType;
    lines << language.text(QStringLiteral("Fingerprint (SHA-256): "), QStringLiteral("Fingerabdruck (SHA-256): "))
                 + key.fingerprint;
    lines << language.text(QStringLiteral("Compare the fingerprint with the one the server's administrator gives "
                                          "you before you trust the key. \"Trust always\" adds it to %1.")
                               .arg(QDir::toNativeSeparators(key.knownHostsFile)),
                           QStringLiteral("Vergleichen Sie den Fingerabdruck mit dem, den der Administrator des Servers "
                                          "nennt, bevor Sie dem Schlüssel vertrauen. \"Immer vertrauen\" trägt ihn in %1 "
                                          "ein.")
                               .arg(QDir::toNativeSeparators(key.knownHostsFile)));
    return lines.join(u'\n');
}

QString SessionHostKeyTrust::PassphraseTitle(const Language &language)
{
    return language.text(QStringLiteral("Passphrase of the key"), QStringLiteral("Passphrase des Schlüssels"));
}

QString SessionHostKeyTrust::PassphraseText(const QString &keyFile, int attempt, const Language &language)
{
    const QString file = QDir::toNativeSeparators(keyFile);
    QString text;
    if (attempt > 1)
        text = language.text(QStringLiteral("The passphrase was wrong. "), QStringLiteral("Die Passphrase war falsch. "));
    return text
           + language.text(QStringLiteral("The key file %1 is protected by a passphrase. Enter it to log in:").arg(file),
                           QStringLiteral("Die Schlüsseldatei %1 ist durch eine Passphrase geschützt. Geben Sie sie zum "
                                          "Anmelden ein:")
                               .arg(file));
}

QString SessionHostKeyTrust::RefusalText(const SshHostKey &key, const Language &language)
{
    return SshHostKeyRefusal::text(key, language);
}

SshHostKeyTrust::Answer SessionHostKeyTrust::decide(const SshHostKey &key)
{
    switch (m_prompts.askHostKey(WindowTitle(m_language), WindowText(key, m_language))) {
    case UserPrompts::CertificateAnswer::TrustAlways: return Answer::TrustAlways;
    case UserPrompts::CertificateAnswer::TrustThisTime: return Answer::TrustOnce;
    case UserPrompts::CertificateAnswer::Cancel: break;
    }
    m_declined = true;
    return Answer::Cancel;
}

std::optional<QString> SessionHostKeyTrust::passphrase(const QString &keyFile, int attempt)
{
    return m_prompts.askSecret(PassphraseTitle(m_language), PassphraseText(keyFile, attempt, m_language));
}

} // namespace Velmora
