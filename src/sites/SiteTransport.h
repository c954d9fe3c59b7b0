#pragma once

#include "engine/ftp/FtpEncryption.h"

#include <QString>

namespace Velmora {

// How another FTP client reaches a site, as far as its file tells. Velmora speaks FTP, plain
// and over TLS, and SFTP: those sites come across with their protocol and encryption, so that
// no connect sends a password in clear that the other client sent encrypted. Other protocols
// stay out. TakenOver is the one place that decides.
class SiteTransport {
public:
    enum Kind {
        Ftp,               // plain FTP only
        FtpTlsWhenOffered, // FTP that uses explicit TLS when the server offers it
        FtpExplicitTls,    // FTP that requires explicit TLS
        FtpImplicitTls,    // FTP over implicit TLS
        Sftp,              // SFTP (SSH)
        Unspecified,       // the file marks it encrypted or not FTP without saying which
        NotFtp,            // another protocol than FTP
    };

    // True for the kinds a Velmora site reproduces: FTP, plain or over TLS, and SFTP.
    static bool TakenOver(Kind kind);
    // The protocol choice a taken-over site gets (plain FTP for any kind not taken over).
    static FtpEncryption EncryptionOf(Kind kind);
    // The kind as the protocol names it.
    static QString EnglishName(Kind kind);
    static QString GermanName(Kind kind);

    // A FileZilla 3 "<Protocol>" number: 0 FTP with explicit TLS when offered, 1 SFTP, 3 FTP
    // over implicit TLS, 4 FTP that requires explicit TLS, 6 plain FTP; other numbers are not
    // FTP. A site without the element counts as 0; a value that is no number is Unspecified.
    static Kind FromFileZilla3Protocol(const QString &value);
    // A host written as a URL names its protocol: "sftp://host" is Sftp, "ftps://" FTP over
    // implicit TLS, "ftpes://" FTP with explicit TLS, "ftp://" (or no scheme) Ftp, any other
    // scheme NotFtp. *scheme receives the scheme with "://", empty when there is none.
    static Kind FromHost(const QString &host, QString *scheme = nullptr);
};

} // namespace Velmora
