#include "UploadJournal.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace Velmora {

namespace {

const QString TimeFormat = QStringLiteral("yyyyMMddHHmmsszzz");
constexpr qint64 MaximumEntryBytes = 64 * 1024;

QString timeText(const QDateTime &time)
{
    return time.isValid() ? time.toUTC().toString(TimeFormat) : QString();
}

QDateTime timeFrom(const QString &text)
{
    const QDateTime local = QDateTime::fromString(text, TimeFormat);
    return local.isValid() ? QDateTime(local.date(), local.time(), Qt::UTC) : QDateTime();
}

} // namespace

UploadJournal::UploadJournal(const QString &folder)
    : m_folder(folder.endsWith(u'/') ? folder : folder + u'/')
{
}

QString UploadJournal::fileFor(const QString &site, const QString &remote) const
{
    // One file per remote file of a site, named by a digest: remote paths may hold any character.
    const QByteArray key = (site + u'\n' + remote).toUtf8();
    return m_folder + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex())
           + QStringLiteral(".upload");
}

std::optional<UploadJournal::Entry> UploadJournal::find(const QString &site, const QString &remote) const
{
    QFile file(fileFor(site, remote));
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaximumEntryBytes)
        return std::nullopt;
    const QList<QByteArray> lines = file.readAll().split('\n');
    // Line by line: site, remote, local, local size, local time, remote time before, local
    // identity (missing in entries of older versions).
    if (lines.size() < 6)
        return std::nullopt;
    Entry entry;
    entry.site = QString::fromUtf8(lines[0]);
    entry.remote = QString::fromUtf8(lines[1]);
    entry.local = QString::fromUtf8(lines[2]);
    bool ok = false;
    entry.localSize = lines[3].toLongLong(&ok);
    entry.localModified = timeFrom(QString::fromLatin1(lines[4]));
    entry.remoteBefore = timeFrom(QString::fromLatin1(lines[5]));
    if (lines.size() > 7)
        entry.localIdentity = QString::fromLatin1(lines[6]);
    // A digest shared by two names must not mix them up.
    if (!ok || entry.site != site || entry.remote != remote || !entry.localModified.isValid())
        return std::nullopt;
    return entry;
}

bool UploadJournal::remember(const Entry &entry) const
{
    if (!QDir().mkpath(m_folder))
        return false;
    QSaveFile file(fileFor(entry.site, entry.remote));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QString text = entry.site + u'\n' + entry.remote + u'\n' + entry.local + u'\n' + QString::number(entry.localSize) + u'\n'
                         + timeText(entry.localModified) + u'\n' + timeText(entry.remoteBefore) + u'\n'
                         + entry.localIdentity + u'\n';
    file.write(text.toUtf8());
    return file.commit();
}

void UploadJournal::forget(const QString &site, const QString &remote) const
{
    QFile::remove(fileFor(site, remote));
}

} // namespace Velmora
