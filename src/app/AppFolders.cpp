#include "AppFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace Velmora {

namespace {

QString withSlash(QString path)
{
    if (!path.isEmpty() && !path.endsWith(u'/'))
        path += u'/';
    return path;
}

// Installed builds keep their assets in share/velmora beside bin/.
QString findProgramFolder()
{
    const QString exeFolder = withSlash(QCoreApplication::applicationDirPath());
    if (QFileInfo::exists(exeFolder + QStringLiteral("skins")))
        return exeFolder;
    const QString shared = withSlash(QDir::cleanPath(exeFolder + QStringLiteral("../share/velmora")));
    if (QFileInfo::exists(shared + QStringLiteral("skins")))
        return shared;
    return exeFolder;
}

} // namespace

AppFolders AppFolders::detect(const QString &programFolder)
{
    AppFolders folders;
    folders.programFolder = programFolder.isEmpty() ? findProgramFolder() : withSlash(programFolder);
    folders.appDataFolder = withSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        + QStringLiteral("Holmvik/Velmora/");
    folders.tempFolder = withSlash(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
        + QStringLiteral("Holmvik/Velmora/tmp/");
    folders.desktopFolder = withSlash(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    folders.documentsFolder = withSlash(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    folders.programFilesFolder = QStringLiteral("/usr/bin/");
    folders.startDrive = QStringLiteral("/");
    return folders;
}

bool AppFolders::create()
{
    QDir dir;
    appDataCreatedNow = !dir.exists(appDataFolder);
    bool ok = dir.mkpath(appDataFolder);
    ok = dir.mkpath(tempFolder) && ok;
    QFile::setPermissions(tempFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return ok;
}

} // namespace Velmora
