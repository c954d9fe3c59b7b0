#include "FtpTlsError.h"

namespace Velmora {

FtpTlsError::Cause FtpTlsError::CauseOf(const QString &libraryText)
{
    const QString text = libraryText.toLower();
    // The server refused every version the client offers (TLS 1.2 and 1.3), or offered one below.
    for (const char *marker : {"protocol version", "unsupported protocol", "no protocols available",
                               "version too low"}) {
        if (text.contains(QLatin1String(marker)))
            return Cause::OutdatedProtocol;
    }
    // Bytes that are no TLS record: an FTP reply, an HTTP page, anything in clear.
    for (const char *marker : {"wrong version number", "packet length too long", "record layer failure",
                               "unknown protocol", "http request", "record too long"}) {
        if (text.contains(QLatin1String(marker)))
            return Cause::NotTls;
    }
    return Cause::Other;
}

} // namespace Velmora
