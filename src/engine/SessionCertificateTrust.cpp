#include "SessionCertificateTrust.h"

#include "app/AppFolders.h"
#include "app/ProtocolLog.h"
#include "app/UserPrompts.h"
#include "common/Language.h"

#include <QHash>
#include <QSet>
#include <QSslError>

namespace Velmora {

namespace {

QString dateText(const QDateTime &time)
{
    return time.isValid() ? time.toUTC().toString(QStringLiteral("yyyy-MM-dd hh:mm")) + QStringLiteral(" UTC")
                          : QStringLiteral("-");
}

} // namespace

SessionCertificateTrust::SessionCertificateTrust(const AppFolders &folders, UserPrompts &prompts,
                                                 const Language &language, ProtocolLog &log)
    : m_folders(folders)
    , m_prompts(prompts)
    , m_language(language)
    , m_log(log)
{
}

CertificateTrustStore SessionCertificateTrust::store() const
{
    return CertificateTrustStore(m_folders.appDataFolder);
}

QString SessionCertificateTrust::trustedFingerprint(const QString &host, quint16 port) const
{
    return store().fingerprint(host, port);
}

QString SessionCertificateTrust::WindowTitle(const FtpCertificate &certificate, const Language &language)
{
    return certificate.changed()
               ? language.text(QStringLiteral("WARNING: the server's certificate has changed"),
                               QStringLiteral("WARNUNG: Das Zertifikat des Servers hat sich geändert"))
               : language.text(QStringLiteral("Untrusted certificate"), QStringLiteral("Nicht vertrauenswürdiges Zertifikat"));
}

QString SessionCertificateTrust::ReasonText(const FtpCertificate &c, const Language &language)
{
    // The TLS library names its reasons in English only, some in its own terms: every way of
    // saying "nobody this computer trusts vouches for it" becomes one sentence a user can act on,
    // and the usual other reasons have German texts. The protocol keeps the library's words.
    static const QSet<int> unknownAuthority = {
        int(QSslError::SelfSignedCertificateInChain), int(QSslError::UnableToGetLocalIssuerCertificate),
        int(QSslError::UnableToGetIssuerCertificate), int(QSslError::UnableToVerifyFirstCertificate),
        int(QSslError::CertificateUntrusted)};
    static const QHash<int, QString> german = {
        {int(QSslError::SelfSignedCertificate), QStringLiteral("Das Zertifikat ist selbst signiert und nicht vertrauenswürdig")},
        {int(QSslError::CertificateExpired), QStringLiteral("Das Zertifikat ist abgelaufen")},
        {int(QSslError::CertificateNotYetValid), QStringLiteral("Das Zertifikat ist noch nicht gültig")},
        {int(QSslError::HostNameMismatch),
         QStringLiteral("Der Hostname passt zu keinem der Namen, für die das Zertifikat gilt")},
        {int(QSslError::CertificateRevoked), QStringLiteral("Das Zertifikat wurde widerrufen")},
        {int(QSslError::NoPeerCertificate), QStringLiteral("Der Server hat kein Zertifikat gezeigt")},
    };
    const QStringList english = c.reason.split(u'\n', Qt::SkipEmptyParts);
    if (c.reasonCodes.size() != english.size())
        return english.join(QStringLiteral("; "));
    QStringList texts;
    for (qsizetype i = 0; i < english.size(); ++i) {
        const int code = c.reasonCodes[i];
        QString text;
        if (unknownAuthority.contains(code)) {
            text = language.text(QStringLiteral("The certificate is issued by an authority this computer does not know."),
                                 QStringLiteral("Das Zertifikat stammt von einer Zertifizierungsstelle, die dieser "
                                                "Computer nicht kennt."));
        } else {
            text = language.isGerman() ? german.value(code, english[i]) : english[i];
        }
        if (!texts.contains(text))
            texts << text;
    }
    return texts.join(QStringLiteral("; "));
}

QString SessionCertificateTrust::WindowText(const FtpCertificate &c, const Language &language)
{
    QStringList lines;
    const QString site = c.site();
    if (c.changed()) {
        lines << language.text(QStringLiteral("The certificate of %1 has CHANGED since you trusted it. Someone may be "
                                              "intercepting the connection. Connect only if you know why it changed.")
                                   .arg(site),
                               QStringLiteral("Das Zertifikat von %1 hat sich GEÄNDERT, seit Sie ihm vertraut haben. "
                                              "Jemand könnte die Verbindung abfangen. Verbinden Sie nur, wenn Sie wissen, "
                                              "warum es sich geändert hat.")
                                   .arg(site));
        lines << language.text(QStringLiteral("Trusted fingerprint (SHA-256): "), QStringLiteral("Vertrauter Fingerabdruck (SHA-256): "))
                     + c.previousFingerprint;
        lines << language.text(QStringLiteral("New fingerprint (SHA-256): "), QStringLiteral("Neuer Fingerabdruck (SHA-256): "))
                     + c.fingerprint;
    } else {
        lines << language.text(QStringLiteral("The certificate of %1 is not trusted.").arg(site),
                               QStringLiteral("Das Zertifikat von %1 ist nicht vertrauenswürdig.").arg(site));
        lines << language.text(QStringLiteral("Fingerprint (SHA-256): "), QStringLiteral("Fingerabdruck (SHA-256): "))
                     + c.fingerprint;
    }
    lines << language.text(QStringLiteral("Subject: "), QStringLiteral("Inhaber: ")) + c.subject;
    lines << language.text(QStringLiteral("Valid for: "), QStringLiteral("Gültig für: "))
                 + (c.names.isEmpty() ? QStringLiteral("-") : c.names.join(QStringLiteral(", ")));
    lines << language.text(QStringLiteral("Issuer: "), QStringLiteral("Aussteller: ")) + c.issuer;
    lines << language.text(QStringLiteral("Valid from %1 to %2"), QStringLiteral("Gültig von %1 bis %2"))
                 .arg(dateText(c.validFrom), dateText(c.validUntil));
    lines << language.text(QStringLiteral("Reason: "), QStringLiteral("Grund: ")) + ReasonText(c, language);
    return lines.join(u'\n');
}

bool SessionCertificateTrust::accept(const FtpCertificate &certificate)
{
    switch (m_prompts.askCertificate(WindowTitle(certificate, m_language), WindowText(certificate, m_language))) {
    case UserPrompts::CertificateAnswer::TrustAlways: {
        CertificateTrustStore trusted = store();
        TrustedCertificate kept;
        kept.host = certificate.host;
        kept.port = certificate.port;
        kept.fingerprint = certificate.fingerprint;
        kept.subject = certificate.subject;
        kept.validUntil = certificate.validUntil;
        if (!trusted.trust(kept)) {
            m_log.AddProtocolMessage(ProtocolEntry::Error,
                                     m_language.text(QStringLiteral("The trusted certificate could not be saved: "),
                                                     QStringLiteral("Das vertraute Zertifikat konnte nicht gespeichert werden: "))
                                         + trusted.errorText());
        }
        return true;
    }
    case UserPrompts::CertificateAnswer::TrustThisTime:
        return true;
    case UserPrompts::CertificateAnswer::Cancel:
        break;
    }
    m_declined = true;
    return false;
}

} // namespace Velmora
