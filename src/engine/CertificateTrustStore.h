#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace Velmora {

// A certificate the user trusts for good for one host and port. Subject and expiry are known
// for certificates trusted since they are recorded; for older entries they are empty.
struct TrustedCertificate {
    QString host;
    quint16 port = 0;
    QString fingerprint; // SHA-256, upper-case hex pairs joined by ':'
    QString subject;
    QDateTime validUntil;

    // "host:port"; an IPv6 address goes in brackets.
    QString site() const;
};

// What a file of trusted certificates holds: its entries in file order, and the lines that are
// no entry (kept as they are, with their line numbers from 1).
struct TrustedCertificateList {
    QList<TrustedCertificate> entries;
    QList<QPair<int, QString>> unreadable;
};

// The server certificates the user trusts for good, one per host and port, kept in
// "trusted-certificates.txt" in the application data folder (readable by the user only): one
// line per site, "host port SHA-256-fingerprint". Subject and expiry of each go to
// "trusted-certificates-details.txt" beside it ("host port fingerprint", a tab, the expiry as
// ISO date and time in UTC, a tab, the subject), so older versions read the first file as before.
// Lines that are no entry are kept through every rewrite.
class CertificateTrustStore {
public:
    static inline const QString FileName = QStringLiteral("trusted-certificates.txt");
    static inline const QString DetailsFileName = QStringLiteral("trusted-certificates-details.txt");

    // folder: the application data folder (ends with "/").
    explicit CertificateTrustStore(QString folder);

    QString filePath() const { return m_folder + FileName; }
    QString detailsFilePath() const { return m_folder + DetailsFileName; }
    // Empty when the user trusts no certificate for this site. Reads the file each time, so that
    // two programs running side by side see each other's decisions.
    QString fingerprint(const QString &host, quint16 port) const;
    // Every trusted certificate with its details, and the lines that are no entry.
    TrustedCertificateList list() const;
    // Trusts this certificate for the site from now on (replacing an earlier one); false with
    // errorText() when the file cannot be written.
    bool trust(const QString &host, quint16 port, const QString &fingerprint);
    bool trust(const TrustedCertificate &certificate);
    // Trusts no certificate for the site any more: its next connect asks again. False with
    // errorText() when the file cannot be written (it then stays as it was).
    bool remove(const QString &host, quint16 port);
    QString errorText() const { return m_error; }

    // The text forms of the two files.
    static TrustedCertificateList Parse(const QByteArray &bytes);
    static QByteArray Format(const TrustedCertificateList &list);
    // Details by "host port fingerprint"; damaged lines are skipped.
    static QHash<QString, TrustedCertificate> ParseDetails(const QByteArray &bytes);
    static QByteArray FormatDetails(const QList<TrustedCertificate> &entries);

private:
    bool save(const TrustedCertificateList &list);

    QString m_folder;
    QString m_error;
};

} // namespace Velmora
