#include "SshKnownHostsFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>

namespace Velmora {

QString SshKnownHostsFile::hashedHost(const QString &hostPattern, const QByteArray &salt)
{
    const QByteArray hash = QMessageAuthenticationCode::hash(hostPattern.toUtf8(), salt, QCryptographicHash::Sha1);
    return QStringLiteral("|1|") + QString::fromLatin1(salt.toBase64()) + u'|' + QString::fromLatin1(hash.toBase64());
}

bool SshKnownHostsFile::appendEntry(const QString &file, const QString &hostPattern, const QString &keyText,
                                    QString *error)
{
    const QFileInfo info(file);
    QDir folder = info.absoluteDir();
    if (!folder.exists()) {
        if (!QDir().mkpath(folder.absolutePath())) {
            *error = QStringLiteral("The folder %1 cannot be created.").arg(QDir::toNativeSeparators(folder.absolutePath()));
            return false;
        }
        QFile::setPermissions(folder.absolutePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QByteArray salt(20, '\0');
    for (char &byte : salt)
        byte = char(QRandomGenerator::system()->bounded(256));
    const bool existed = info.exists();
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Append)) {
        *error = QStringLiteral("%1 cannot be written: %2").arg(QDir::toNativeSeparators(file), out.errorString());
        return false;
    }
    if (!existed)
        out.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    QByteArray line = hashedHost(hostPattern, salt).toUtf8() + ' ' + keyText.trimmed().toUtf8() + '\n';
    // A file whose last line has no line end gets one first, so the entry stands on its own line.
    if (existed && out.size() > 0) {
        QFile probe(file);
        if (probe.open(QIODevice::ReadOnly) && probe.seek(probe.size() - 1) && probe.read(1) != "\n")
            line.prepend('\n');
    }
    if (out.write(line) != line.size() || !out.flush()) {
        *error = QStringLiteral("%1 cannot be written: %2").arg(QDir::toNativeSeparators(file), out.errorString());
        return false;
    }
    return true;
}

QStringList SshKnownHostsFile::keysFor(const QString &file, const QString &hostPattern)
{
    QStringList keys;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return keys;
    const QString host = hostPattern.toLower();
    while (!in.atEnd()) {
        const QString line = QString::fromUtf8(in.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u'@'))
            continue;
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        if (fields.size() < 3)
            continue;
        bool matches = false;
        if (fields[0].startsWith(QStringLiteral("|1|"))) {
            const QByteArray salt = QByteArray::fromBase64(fields[0].section(u'|', 2, 2).toLatin1());
            matches = hashedHost(host, salt) == fields[0];
        } else {
            const QStringList names = fields[0].toLower().split(u',');
            matches = names.contains(host);
        }
        if (matches)
            keys.append(fields[1] + u' ' + fields[2]);
    }
    return keys;
}

QString SshKnownHostsFile::sha256Fingerprint(const QByteArray &keyBlob)
{
    const QByteArray hash = QCryptographicHash::hash(keyBlob, QCryptographicHash::Sha256);
    return QStringLiteral("SHA256:") + QString::fromLatin1(hash.toBase64(QByteArray::OmitTrailingEquals));
}

} // namespace Velmora
