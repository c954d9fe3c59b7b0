#pragma once

#include "CertificateTrustStore.h"

#include "engine/ftp/FtpEncryption.h"

namespace Velmora {

struct AppFolders;
class Language;
class ProtocolLog;
class UserPrompts;

// The session's answer to a certificate the system does not trust: the user's earlier "Trust
// always" from the store, else the certificate window.
class SessionCertificateTrust : public FtpCertificateTrust {
public:
    // The store is the one in the folders' application data folder.
    SessionCertificateTrust(const AppFolders &folders, UserPrompts &prompts, const Language &language, ProtocolLog &log);

    QString trustedFingerprint(const QString &host, quint16 port) const override;
    bool accept(const FtpCertificate &certificate) override;
    // Whether the window was answered "Cancel" since the last clearDeclined(): it has shown the
    // reason already.
    bool declined() const { return m_declined; }
    void clearDeclined() { m_declined = false; }

    // The window's caption and text for a certificate.
    static QString WindowTitle(const FtpCertificate &certificate, const Language &language);
    static QString WindowText(const FtpCertificate &certificate, const Language &language);
    // Why the certificate is not trusted, in the current language ("; " between reasons).
    static QString ReasonText(const FtpCertificate &certificate, const Language &language);

private:
    CertificateTrustStore store() const;

    const AppFolders &m_folders;
    UserPrompts &m_prompts;
    const Language &m_language;
    ProtocolLog &m_log;
    bool m_declined = false;
};

} // namespace Velmora
