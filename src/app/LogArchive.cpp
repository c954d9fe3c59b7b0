#include "LogArchive.h"

#include "common/OwnerOnly.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <zip.h>

namespace Velmora {

QString LogArchive::targetFor(const QString &chosenFile)
{
    return QFileInfo(chosenFile).absolutePath() + u'/' + ArchiveName;
}

QStringList LogArchive::logFilesIn(const QString &folder)
{
    QStringList paths;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.log")}, QDir::Files, QDir::Name))
        paths.append(dir.filePath(name));
    return paths;
}

bool LogArchive::write(const QString &logFolder, const QString &archivePath)
{
    QFile::remove(archivePath);
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(archivePath).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    bool ok = true;
    for (const QString &path : logFilesIn(logFolder)) {
        zip_source_t *source = zip_source_file(archive, QFile::encodeName(path).constData(), 0, -1);
        if (!source) {
            ok = false;
            continue;
        }
        const QByteArray entryName = QFileInfo(path).fileName().toUtf8();
        const zip_int64_t index = zip_file_add(archive, entryName.constData(), source,
                                               ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            ok = false;
            continue;
        }
        zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 0);
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        return false;
    }
    // The archive holds the logs: it is as private as they are.
    QFile::setPermissions(archivePath, OwnerOnly::File);
    return ok;
}

} // namespace Velmora
