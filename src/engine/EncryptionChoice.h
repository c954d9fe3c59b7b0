#pragma once

#include "engine/ftp/FtpEncryption.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace Velmora {

class Language;

// The encryption of a site as files name it ("ftp", "ftp-tls-if-available", "ftpes", "ftps")
// and as the user reads it.
class EncryptionChoice {
public:
    static QString Keyword(FtpEncryption encryption);
    static std::optional<FtpEncryption> FromKeyword(const QString &keyword);
    static QString Text(FtpEncryption encryption, const Language *language);
    // The four choices in the order windows list them (the order of FtpEncryption).
    static QList<FtpEncryption> All();
    // A keyword, or the English or German text of a choice.
    static std::optional<FtpEncryption> FromAnyText(const QString &text);
};

} // namespace Velmora
