#pragma once

#include <QString>
#include <QStringList>

namespace Velmora {

// Packs every "*.log" file of a folder into one ZIP archive (deflate), each stored under its
// bare file name. An existing archive is replaced.
class LogArchive {
public:
    // The archive's path for a file name the user chose: its folder + "Velmora-Logfiles.zip".
    static QString targetFor(const QString &chosenFile);
    static QStringList logFilesIn(const QString &folder);
    static bool write(const QString &logFolder, const QString &archivePath);

    static inline const QString ArchiveName = QStringLiteral("Velmora-Logfiles.zip");
};

} // namespace Velmora
