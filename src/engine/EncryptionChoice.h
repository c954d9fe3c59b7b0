#pragma once

#include "engine/ftp/FtpEncryption.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace Velmora {

class Language;

// The protocol and encryption of a site as files name it ("ftp", "ftp-tls-if-available",
// "ftpes", "ftps", "sftp") and as the user reads it.
class EncryptionChoice {
public:
    static QString Keyword(FtpEncryption encryption);
    static std::optional<FtpEncryption> FromKeyword(const QString &keyword);
    static QString Text(FtpEncryption encryption, const Language *language);
    // The five choices in the order windows list them (the order of FtpEncryption).
    static QList<FtpEncryption> All();
    // The port a site of this choice uses when none is given: 22 for SFTP, else 21.
    static quint16 DefaultPort(FtpEncryption encryption);
    // A keyword, or the English or German text of a choice.
    static std::optional<FtpEncryption> FromAnyText(const QString &text);
};

} // namespace Velmora
