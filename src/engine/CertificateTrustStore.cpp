#include "CertificateTrustStore.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace Velmora {

namespace {

constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString normalHost(const QString &host)
{
    return host.trimmed().toLower();
}

QString keyOf(const TrustedCertificate &c)
{
    return c.host + u' ' + QString::number(c.port) + u' ' + c.fingerprint;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeOwnerOnly(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    file.setPermissions(OwnerOnly);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return QFile::setPermissions(path, OwnerOnly);
}

} // namespace

QString TrustedCertificate::site() const
{
    const QString shownHost = host.contains(u':') ? u'[' + host + u']' : host;
    return shownHost + u':' + QString::number(port);
}

CertificateTrustStore::CertificateTrustStore(QString folder)
    : m_folder(std::move(folder))
{
}

TrustedCertificateList CertificateTrustStore::Parse(const QByteArray &bytes)
{
    TrustedCertificateList list;
    if (bytes.isEmpty())
        return list;
    QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast(); // the line end of the last line
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QStringList parts = line.trimmed().split(u' ', Qt::SkipEmptyParts);
        bool portOk = false;
        const uint port = parts.size() == 3 ? parts[1].toUInt(&portOk) : 0;
        if (!portOk || port == 0 || port > 65535 || QString::number(port) != parts[1]) {
            if (!line.trimmed().isEmpty())
                list.unreadable.append({int(i + 1), line});
            continue;
        }
        TrustedCertificate entry;
        entry.host = normalHost(parts[0]);
        entry.port = quint16(port);
        entry.fingerprint = parts[2];
        // A site has one entry; a later line for it replaces an earlier one.
        const auto same = std::find_if(list.entries.begin(), list.entries.end(), [&](const TrustedCertificate &e) {
            return e.host == entry.host && e.port == entry.port;
        });
        if (same != list.entries.end())
            *same = entry;
        else
            list.entries.append(entry);
    }
    return list;
}

QByteArray CertificateTrustStore::Format(const TrustedCertificateList &list)
{
    QList<TrustedCertificate> entries = list.entries;
    std::sort(entries.begin(), entries.end(), [](const TrustedCertificate &a, const TrustedCertificate &b) {
        return a.host + u' ' + QString::number(a.port) < b.host + u' ' + QString::number(b.port);
    });
    QByteArray bytes;
    for (const TrustedCertificate &e : std::as_const(entries))
        bytes += (e.host + u' ' + QString::number(e.port) + u' ' + e.fingerprint + u'\n').toUtf8();
    for (const auto &line : list.unreadable)
        bytes += (line.second + u'\n').toUtf8();
    return bytes;
}

QHash<QString, TrustedCertificate> CertificateTrustStore::ParseDetails(const QByteArray &bytes)
{
    QHash<QString, TrustedCertificate> details;
    for (const QString &raw : QString::fromUtf8(bytes).split(u'\n')) {
        const QStringList fields = raw.split(u'\t');
        if (fields.size() != 3)
            continue;
        const QStringList key = fields[0].split(u' ', Qt::SkipEmptyParts);
        bool portOk = false;
        const uint port = key.size() == 3 ? key[1].toUInt(&portOk) : 0;
        if (!portOk || port == 0 || port > 65535)
            continue;
        TrustedCertificate entry;
        entry.host = normalHost(key[0]);
        entry.port = quint16(port);
        entry.fingerprint = key[2];
        entry.validUntil = QDateTime::fromString(fields[1], Qt::ISODate);
        entry.subject = fields[2].trimmed();
        details.insert(keyOf(entry), entry);
    }
    return details;
}

QByteArray CertificateTrustStore::FormatDetails(const QList<TrustedCertificate> &entries)
{
    QByteArray bytes;
    for (const TrustedCertificate &e : entries) {
        if (e.subject.isEmpty() && !e.validUntil.isValid())
            continue;
        QString subject = e.subject;
        subject.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' ');
        const QString until = e.validUntil.isValid() ? e.validUntil.toUTC().toString(Qt::ISODate) : QString();
        bytes += (keyOf(e) + u'\t' + until + u'\t' + subject + u'\n').toUtf8();
    }
    return bytes;
}

TrustedCertificateList CertificateTrustStore::list() const
{
    TrustedCertificateList list = Parse(readAll(filePath()));
    const QHash<QString, TrustedCertificate> details = ParseDetails(readAll(detailsFilePath()));
    for (TrustedCertificate &entry : list.entries) {
        // Details count only for the certificate the entry trusts now.
        const auto found = details.constFind(keyOf(entry));
        if (found == details.cend())
            continue;
        entry.subject = found->subject;
        entry.validUntil = found->validUntil;
    }
    return list;
}

QString CertificateTrustStore::fingerprint(const QString &host, quint16 port) const
{
    const QString wanted = normalHost(host);
    for (const TrustedCertificate &entry : Parse(readAll(filePath())).entries) {
        if (entry.host == wanted && entry.port == port)
            return entry.fingerprint;
    }
    return {};
}

bool CertificateTrustStore::trust(const QString &host, quint16 port, const QString &fingerprint)
{
    TrustedCertificate certificate;
    certificate.host = host;
    certificate.port = port;
    certificate.fingerprint = fingerprint;
    return trust(certificate);
}

bool CertificateTrustStore::trust(const TrustedCertificate &certificate)
{
    TrustedCertificateList trusted = list();
    TrustedCertificate entry = certificate;
    entry.host = normalHost(entry.host);
    trusted.entries.removeIf([&](const TrustedCertificate &e) { return e.host == entry.host && e.port == entry.port; });
    trusted.entries.append(entry);
    return save(trusted);
}

bool CertificateTrustStore::remove(const QString &host, quint16 port)
{
    TrustedCertificateList trusted = list();
    const QString wanted = normalHost(host);
    trusted.entries.removeIf([&](const TrustedCertificate &e) { return e.host == wanted && e.port == port; });
    return save(trusted);
}

bool CertificateTrustStore::save(const TrustedCertificateList &list)
{
    m_error.clear();
    // The entries first: details without their entry are never read.
    if (!writeOwnerOnly(filePath(), Format(list), &m_error))
        return false;
    const QByteArray details = FormatDetails(list.entries);
    if (details.isEmpty()) {
        QFile::remove(detailsFilePath());
        return true;
    }
    return writeOwnerOnly(detailsFilePath(), details, &m_error);
}

} // namespace Velmora
