// Which TLS failure a library text names, from the texts OpenSSL gives through Qt.
#include "engine/ftp/FtpTlsError.h"

#include <gtest/gtest.h>

using namespace Velmora;
using Cause = FtpTlsError::Cause;

TEST(TlsErrorCause, LibraryTextsAreSortedByWhatTheyMean)
{
    const struct {
        const char *text;
        Cause cause;
    } cases[] = {
        {"error:0A00042E:SSL routines::tlsv1 alert protocol version", Cause::OutdatedProtocol},
        {"error:0A000102:SSL routines::unsupported protocol", Cause::OutdatedProtocol},
        {"error:0A0000BF:SSL routines::no protocols available", Cause::OutdatedProtocol},
        {"error:0A00010B:SSL routines::wrong version number", Cause::NotTls},
        {"error:0A0000C6:SSL routines::packet length too long", Cause::NotTls},
        {"error:0A000139:SSL routines::record layer failure", Cause::NotTls},
        {"error:0A00009C:SSL routines::http request", Cause::NotTls},
        {"WRONG VERSION NUMBER", Cause::NotTls},
        {"The remote host closed the connection", Cause::Other},
        {"error:0A000410:SSL routines::sslv3 alert handshake failure", Cause::Other},
        {"", Cause::Other},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FtpTlsError::CauseOf(QString::fromLatin1(c.text)), c.cause) << c.text;
    const FtpTlsError error(QStringLiteral("error:0A00042E:SSL routines::tlsv1 alert protocol version"));
    EXPECT_EQ(error.message(), QStringLiteral("The TLS handshake failed: error:0A00042E:SSL routines::tlsv1 alert protocol version"));
    EXPECT_EQ(error.cause(), Cause::OutdatedProtocol);
}
