#include "CertificateTrustStore.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace Velmora {

namespace {

constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString keyOf(const QString &host, quint16 port)
{
    return host.trimmed().toLower() + u' ' + QString::number(port);
}

} // namespace

CertificateTrustStore::CertificateTrustStore(QString folder)
    : m_folder(std::move(folder))
{
}

QHash<QString, QString> CertificateTrustStore::load() const
{
    QHash<QString, QString> entries;
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString &line : lines) {
        const QStringList parts = line.trimmed().split(u' ', Qt::SkipEmptyParts);
        if (parts.size() == 3)
            entries.insert(parts[0].toLower() + u' ' + parts[1], parts[2]);
    }
    return entries;
}

QString CertificateTrustStore::fingerprint(const QString &host, quint16 port) const
{
    return load().value(keyOf(host, port));
}

bool CertificateTrustStore::trust(const QString &host, quint16 port, const QString &fingerprint)
{
    QHash<QString, QString> entries = load();
    entries.insert(keyOf(host, port), fingerprint);
    QStringList keys = entries.keys();
    std::sort(keys.begin(), keys.end());
    QByteArray bytes;
    for (const QString &key : std::as_const(keys))
        bytes += (key + u' ' + entries.value(key) + u'\n').toUtf8();
    QSaveFile file(filePath());
    m_error.clear();
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = file.errorString();
        return false;
    }
    file.setPermissions(OwnerOnly);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        m_error = file.errorString();
        return false;
    }
    return QFile::setPermissions(filePath(), OwnerOnly);
}

} // namespace Velmora
