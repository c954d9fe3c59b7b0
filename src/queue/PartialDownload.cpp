#include "PartialDownload.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace Velmora {

namespace {

const QString PartSuffix = QStringLiteral(".velmora-part");
const QString InfoSuffix = QStringLiteral(".velmora-part.info");
const QString TimeFormat = QStringLiteral("yyyyMMddHHmmsszzz");
constexpr qint64 MaximumNoteBytes = 64 * 1024;

} // namespace

PartialDownload::PartialDownload(const QString &localPath)
    : m_part(partName(localPath))
    , m_info(infoName(localPath))
{
}

QString PartialDownload::partName(const QString &localPath)
{
    return localPath + PartSuffix;
}

QString PartialDownload::infoName(const QString &localPath)
{
    return localPath + InfoSuffix;
}

bool PartialDownload::isWorkFileName(const QString &fileName)
{
    return fileName.endsWith(PartSuffix) || fileName.endsWith(InfoSuffix);
}

qint64 PartialDownload::partSize() const
{
    const QFileInfo info(m_part);
    return info.isFile() && !info.isSymLink() ? info.size() : -1;
}

std::optional<PartialDownload::Origin> PartialDownload::readNote() const
{
    QFile file(m_info);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaximumNoteBytes)
        return std::nullopt;
    // One "key=value" a line, UTF-8; the remote path is the last key, so nothing after its "="
    // is cut (names may hold "=").
    Origin origin;
    bool haveSite = false, haveRemote = false, haveSize = false;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw.endsWith('\r') ? raw.chopped(1) : raw);
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString key = line.left(equals);
        const QString value = line.mid(equals + 1);
        if (key == u"Site") {
            origin.site = value;
            haveSite = true;
        } else if (key == u"Remote") {
            origin.remote = value;
            haveRemote = true;
        } else if (key == u"Size") {
            origin.size = value.toLongLong(&haveSize);
        } else if (key == u"Modified") {
            const QDateTime local = QDateTime::fromString(value, TimeFormat);
            if (local.isValid())
                origin.modified = QDateTime(local.date(), local.time(), Qt::UTC);
        }
    }
    if (!haveSite || !haveRemote || !haveSize || origin.size < 0 || !origin.modified.isValid())
        return std::nullopt;
    return origin;
}

qint64 PartialDownload::continuationOffset(const Origin &now) const
{
    const std::optional<Origin> noted = readNote();
    if (!noted || !(*noted == now))
        return -1;
    const qint64 size = partSize();
    return size > 0 && size <= now.size ? size : -1;
}

bool PartialDownload::start(const Origin &origin)
{
    discard();
    QSaveFile note(m_info);
    if (!note.open(QIODevice::WriteOnly))
        return false;
    const QString text = QStringLiteral("Site=") + origin.site + QStringLiteral("\nSize=") + QString::number(origin.size)
                         + QStringLiteral("\nModified=") + origin.modified.toUTC().toString(TimeFormat)
                         + QStringLiteral("\nRemote=") + origin.remote + u'\n';
    note.write(text.toUtf8());
    if (!note.commit())
        return false;
    QFile part(m_part);
    if (!part.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        QFile::remove(m_info);
        return false;
    }
    return true;
}

bool PartialDownload::worthKeeping(const Origin &origin) const
{
    const qint64 size = partSize();
    return size > 0 && size < origin.size && readNote().has_value();
}

void PartialDownload::discard() const
{
    QFile::remove(m_part);
    QFile::remove(m_info);
}

void PartialDownload::forgetNote() const
{
    QFile::remove(m_info);
}

} // namespace Velmora
