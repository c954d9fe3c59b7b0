#pragma once

#include <QString>

namespace Velmora {

// The folders the program keeps its state and working files in. Every folder text ends with
// "/". Tests isolate them by pointing HOME and the XDG_* variables at temporary folders.
struct AppFolders {
    QString programFolder;      // the executable's folder: skins/, recom_EN/, help_EN/ ...
    QString appDataFolder;      // all state files
    QString tempFolder;         // working copies; emptied at the end
    QString desktopFolder;
    QString documentsFolder;
    QString programFilesFolder;
    QString startDrive;         // first local path of the local grid
    bool appDataCreatedNow = false; // the profile is new: the folder did not exist before

    // Looks the folders up (programFolder empty: the running executable's folder).
    static AppFolders detect(const QString &programFolder = {});
    // The folder that holds skins/ and the other program files, for an executable in
    // executableFolder: that folder itself, else ../share/velmora; the first when neither has them.
    static QString programFolderFor(const QString &executableFolder);
    // Creates appDataFolder and tempFolder (mode 0700) with all missing parents; a profile of an
    // older version that others may read is tightened once (ProfilePermissions).
    bool create();

    QString appDataFile(const QString &name) const { return appDataFolder + name; }
    QString downloadFolder() const { return tempFolder + QStringLiteral("download/"); }
    QString monitoringFolder() const { return tempFolder + QStringLiteral("filemonitoring/"); }
};

} // namespace Velmora
