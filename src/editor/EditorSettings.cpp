#include "EditorSettings.h"

#include "common/IniFile.h"

#include <QDir>

namespace Velmora {

namespace {
const QString kStatusBar = QStringLiteral("StatusBar");
const QString kWordwrap = QStringLiteral("Wordwrap");
} // namespace

QString EditorSettings::FolderFor(const QString &appDataFolder)
{
    QString base = appDataFolder;
    while (base.endsWith(u'/'))
        base.chop(1);
    base.truncate(base.lastIndexOf(u'/') + 1);
    return base + QStringLiteral("HolmvikEditor/");
}

EditorSettings::EditorSettings(QString folder)
    : m_folder(std::move(folder))
{
}

QString EditorSettings::filePath() const
{
    return m_folder + QStringLiteral("settings.ini");
}

void EditorSettings::load()
{
    QDir().mkpath(m_folder);
    IniFile ini(filePath());
    ini.load();
    statusBar = ini.readBool(IniFile::Settings, kStatusBar, true);
    wordWrap = ini.readBool(IniFile::Settings, kWordwrap, true);
}

bool EditorSettings::save() const
{
    QDir().mkpath(m_folder);
    IniFile ini(filePath());
    ini.load();
    ini.writeBool(IniFile::Settings, kStatusBar, statusBar);
    ini.writeBool(IniFile::Settings, kWordwrap, wordWrap);
    return ini.save();
}

} // namespace Velmora
