#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace Velmora {

// Writes to a known-hosts file in OpenSSH's format. New entries are hashed ("|1|salt|hash"),
// as OpenSSH writes them with HashKnownHosts, so the file does not list the hosts in clear.
class SshKnownHostsFile {
public:
    // "|1|" + Base64(salt) + "|" + Base64(HMAC-SHA1(salt, hostPattern)); salt has 20 bytes.
    static QString hashedHost(const QString &hostPattern, const QByteArray &salt);
    // Appends "hashed-host key-type base64-key" as a line, creating the file (mode 0600) and
    // its folder (mode 0700) when missing. False with *error when the file cannot be written.
    static bool appendEntry(const QString &file, const QString &hostPattern, const QString &keyText, QString *error);
    // The keys ("type base64") a known-hosts file holds for a host pattern ("name" or
    // "[name]:port"), from plain entries (comma-separated names) and hashed ones alike.
    // Revoked keys and certificate authorities are left out.
    static QStringList keysFor(const QString &file, const QString &hostPattern);
    // "SHA256:" + unpadded Base64 of the SHA-256 of a key blob, as OpenSSH prints fingerprints.
    static QString sha256Fingerprint(const QByteArray &keyBlob);
};

} // namespace Velmora
