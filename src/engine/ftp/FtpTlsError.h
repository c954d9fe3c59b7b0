#pragma once

#include "FtpError.h"

namespace Velmora {

// The TLS handshake failed. The message keeps the TLS library's own text for the protocol
// ("The TLS handshake failed: error:0A00042E:SSL routines::tlsv1 alert protocol version"); the
// cause lets the session tell the user in a sentence what it means.
class FtpTlsError : public FtpError {
public:
    enum class Cause {
        OutdatedProtocol, // the server speaks only TLS versions below 1.2
        NotTls,           // what came back is no TLS at all
        Other,
    };

    explicit FtpTlsError(const QString &libraryText)
        : FtpError(QStringLiteral("The TLS handshake failed: ") + libraryText, Kind::Connection)
        , m_libraryText(libraryText)
        , m_cause(CauseOf(libraryText))
    {
    }

    const QString &libraryText() const { return m_libraryText; }
    Cause cause() const { return m_cause; }

    // The cause a TLS library's error text names (OpenSSL's texts, as Qt passes them on).
    static Cause CauseOf(const QString &libraryText);

private:
    QString m_libraryText;
    Cause m_cause;
};

} // namespace Velmora
