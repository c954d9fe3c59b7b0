#pragma once

#include <QString>

namespace Velmora {

// The editor's two view settings in "settings.ini" of its own folder beside the program's
// application data folder: ".../Holmvik/HolmvikEditor/settings.ini", section "SETTINGS".
class EditorSettings {
public:
    // appDataFolder is the program's folder ".../Holmvik/Velmora/"; the editor's is its
    // sibling "HolmvikEditor/".
    static QString FolderFor(const QString &appDataFolder);

    explicit EditorSettings(QString folder);

    QString filePath() const;
    // Creates the folder when missing and reads the file; a missing file or key is the default.
    void load();
    // Writes both keys; false when the file cannot be written.
    bool save() const;

    bool statusBar = true;
    bool wordWrap = true;

private:
    QString m_folder;
};

} // namespace Velmora
