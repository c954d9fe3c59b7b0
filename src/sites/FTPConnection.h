#pragma once

#include "engine/ftp/FtpEncryption.h"

#include <QString>

namespace Velmora {

// One stored site: nine text fields, always in this order (the order of the store line and of
// the site manager's columns). Fields hold no line breaks; "§" separates them in the store.
struct FTPConnection {
    QString Name;
    QString Host;
    QString User;
    QString Password; // in clear; encoded only in the store file
    QString Port;
    QString LocalPath;
    QString ServerPath;
    QString Mode; // "Passive" or "Active"; anything else connects actively
    // The keyword of EncryptionChoice ("ftpes", "ftps", "ftp-tls-if-available", "ftp",
    // "sftp"); stored after the eight older fields, so that older versions keep the site.
    QString Encryption = QStringLiteral("ftp");
    // SFTP: the private key file the site logs in with; empty for the agent's and the default
    // keys. Not a column of its own; stored after the keyring field when not empty.
    QString KeyFile;

    // Not fields of their own: where the password was found. PasswordKey names the keyring entry
    // the password was read from (empty when it came from the file). PasswordUnread: the store
    // line says the password is in the keyring, but the keyring could not be reached; the line
    // keeps pointing there until the password can be read.
    QString PasswordKey;
    bool PasswordUnread = false;

    static constexpr int FieldCount = 9;
    enum Field {
        NameField,
        HostField,
        UserField,
        PasswordField,
        PortField,
        LocalPathField,
        ServerPathField,
        ModeField,
        EncryptionField
    };

    static inline const QString Passive = QStringLiteral("Passive");
    static inline const QString Active = QStringLiteral("Active");

    // The values a new site starts with; newSiteName is "New site" in the current language.
    static FTPConnection newSite(const QString &newSiteName);

    QString field(int index) const;
    void setField(int index, const QString &value);
    // Only the exact text "Passive" connects passively.
    bool isPassive() const { return Mode == Passive; }
    // An unknown keyword asks for TLS: never a password in clear by mistake.
    FtpEncryption encryption() const;

    bool operator==(const FTPConnection &) const = default;
};

} // namespace Velmora
