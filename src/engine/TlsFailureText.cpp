#include "TlsFailureText.h"

#include "common/Language.h"

namespace Velmora {

QString TlsFailureText::sentence(FtpTlsError::Cause cause, FtpEncryption encryption, quint16 port, const Language &language)
{
    switch (cause) {
    case FtpTlsError::Cause::OutdatedProtocol:
        return language.text(QStringLiteral("The server offers only outdated TLS (1.0/1.1); nothing was sent."),
                             QStringLiteral("Der Server bietet nur veraltetes TLS (1.0/1.1) an; es wurde nichts gesendet."));
    case FtpTlsError::Cause::NotTls:
        if (encryption == FtpEncryption::Implicit) {
            return language
                .text(QStringLiteral("The server does not speak TLS on port %1: implicit FTP over TLS needs the port "
                                     "that starts with TLS (usually 990); nothing was sent."),
                      QStringLiteral("Der Server spricht auf Port %1 kein TLS: implizites FTP über TLS braucht den Port, "
                                     "der mit TLS beginnt (meist 990); es wurde nichts gesendet."))
                .arg(port);
        }
        return language.text(QStringLiteral("The server answered AUTH TLS but does not speak TLS."),
                             QStringLiteral("Der Server hat AUTH TLS bestätigt, spricht aber kein TLS."));
    case FtpTlsError::Cause::Other:
        break;
    }
    return {};
}

QString TlsFailureText::protocolLine(const QString &sentence, const FtpTlsError &error)
{
    return sentence + QStringLiteral(" (") + error.message() + u')';
}

} // namespace Velmora
