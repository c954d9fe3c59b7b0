#pragma once

#include "engine/ftp/FtpEncryption.h"
#include "engine/ftp/FtpTlsError.h"

#include <QString>

namespace Velmora {

class Language;

// A failed TLS handshake told as a sentence a user can act on, in the window's language. The
// TLS library's own text stays in the protocol behind it.
class TlsFailureText {
public:
    // Empty for a cause without a sentence of its own (the library's text is shown then).
    static QString sentence(FtpTlsError::Cause cause, FtpEncryption encryption, quint16 port, const Language &language);
    // The protocol line: the sentence and, in brackets, the library's text.
    static QString protocolLine(const QString &sentence, const FtpTlsError &error);
};

} // namespace Velmora
