#include "AppFolders.h"

#include "ProfilePermissions.h"

#include "common/OwnerOnly.h"

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

} // namespace

// A build keeps the program's files beside the executable; an installed program
// (<prefix>/bin/velmora) finds them in <prefix>/share/velmora.
QString AppFolders::programFolderFor(const QString &executableFolder)
{
    const QString exeFolder = withSlash(executableFolder);
    if (QFileInfo::exists(exeFolder + QStringLiteral("skins")))
        return exeFolder;
    const QString shared = withSlash(QDir::cleanPath(exeFolder + QStringLiteral("../share/velmora")));
    if (QFileInfo::exists(shared + QStringLiteral("skins")))
        return shared;
    return exeFolder;
}

AppFolders AppFolders::detect(const QString &programFolder)
{
    AppFolders folders;
    folders.programFolder = programFolder.isEmpty() ? programFolderFor(QCoreApplication::applicationDirPath()) : withSlash(programFolder);
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
    // A new profile is the owner's from the start; an older one open to others is closed once.
    if (appDataCreatedNow)
        QFile::setPermissions(appDataFolder, OwnerOnly::Folder);
    else
        ProfilePermissions::tighten(appDataFolder);
    ok = dir.mkpath(tempFolder) && ok;
    QFile::setPermissions(tempFolder, OwnerOnly::Folder);
    return ok;
}

} // namespace Velmora
