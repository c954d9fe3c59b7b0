#pragma once

#include <QHash>
#include <QString>

namespace Velmora {

// The server certificates the user trusts for good, one per host and port, kept in
// "trusted-certificates.txt" in the application data folder (readable by the user only): one
// line per site, "host port SHA-256-fingerprint".
class CertificateTrustStore {
public:
    static inline const QString FileName = QStringLiteral("trusted-certificates.txt");

    // folder: the application data folder (ends with "/").
    explicit CertificateTrustStore(QString folder);

    QString filePath() const { return m_folder + FileName; }
    // Empty when the user trusts no certificate for this site. Reads the file each time, so that
    // two programs running side by side see each other's decisions.
    QString fingerprint(const QString &host, quint16 port) const;
    // Trusts this certificate for the site from now on (replacing an earlier one); false with
    // errorText() when the file cannot be written.
    bool trust(const QString &host, quint16 port, const QString &fingerprint);
    QString errorText() const { return m_error; }

private:
    QHash<QString, QString> load() const;

    QString m_folder;
    QString m_error;
};

} // namespace Velmora
