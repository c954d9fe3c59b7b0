#include "PaneCommands.h"

#include "common/Language.h"

namespace Velmora {

namespace {

using C = PaneCommand;

struct Texts {
    const char16_t *english;
    const char16_t *german;
};

Texts textsOf(PaneCommand command, BrowserSide side, bool menu)
{
    const bool local = side == BrowserSide::Local;
    switch (command) {
    case C::Separator:
        return {u"", u""};
    case C::Transfer:
        return local ? Texts{u"Upload [F5]", u"Hochladen [F5]"} : Texts{u"Download [F5]", u"Herunterladen [F5]"};
    case C::OpenDirectory:
        return {u"Open directory", u"Ordner öffnen"};
    case C::ViewEdit:
        return {u"View/Edit [F4]", u"Anzeigen/Bearbeiten [F4]"};
    case C::CreateDirectory:
        return {u"Create directory [F7]", u"Ordner erstellen [F7]"};
    case C::Refresh:
        return {u"Refresh", u"Aktualisieren"};
    case C::Delete:
        return {u"Delete [F8]", u"Löschen [F8]"};
    case C::Rename:
        return {u"Rename [F6]", u"Umbenennen [F6]"};
    case C::FilePermissions:
        return menu ? Texts{u"File permissions... [F11]", u"Dateiberechtigungen... [F11]"}
                    : Texts{u"File permissions [F11]", u"Dateiberechtigungen [F11]"};
    case C::UsedSpace:
        return local ? Texts{u"Calculate used diskspace", u"Belegten Speicherplatz berechnen"}
                     : Texts{u"Calculate used webspace", u"Belegten Webspace berechnen"};
    case C::SearchFiles:
        return {u"Search files [F3]", u"Dateien suchen [F3]"};
    case C::SearchInFiles:
        return {u"Search in files [F9]", u"In Dateien suchen [F9]"};
    case C::SearchAndReplace:
        return {u"Search and replace in files [F10]", u"Suchen und Ersetzen in Dateien [F10]"};
    }
    return {u"", u""};
}

QString nameStem(PaneCommand command)
{
    switch (command) {
    case C::Separator: return {};
    case C::Transfer: return {};
    case C::OpenDirectory: return QStringLiteral("OpenDirectory");
    case C::ViewEdit: return QStringLiteral("Edit");
    case C::CreateDirectory: return QStringLiteral("CreateDirectory");
    case C::Refresh: return QStringLiteral("Refresh");
    case C::Delete: return QStringLiteral("Delete");
    case C::Rename: return QStringLiteral("Rename");
    case C::FilePermissions: return QStringLiteral("FilePermissions");
    case C::UsedSpace: return {};
    case C::SearchFiles: return QStringLiteral("SearchFiles");
    case C::SearchInFiles: return QStringLiteral("SearchInFiles");
    case C::SearchAndReplace: return QStringLiteral("SearchAndReplace");
    }
    return {};
}

} // namespace

QList<PaneCommand> PaneCommands::toolbar(BrowserSide side)
{
    if (side == BrowserSide::Local)
        return {C::Transfer, C::OpenDirectory, C::ViewEdit, C::CreateDirectory, C::Refresh, C::Delete, C::Rename,
                C::UsedSpace, C::SearchFiles, C::SearchInFiles, C::SearchAndReplace};
    return {C::Transfer, C::ViewEdit, C::CreateDirectory, C::Refresh, C::Delete, C::Rename, C::FilePermissions,
            C::UsedSpace, C::SearchFiles, C::SearchInFiles, C::SearchAndReplace};
}

QList<PaneCommand> PaneCommands::contextMenu(BrowserSide side)
{
    if (side == BrowserSide::Local)
        return {C::Transfer, C::ViewEdit, C::OpenDirectory, C::Separator, C::CreateDirectory, C::Refresh, C::Separator,
                C::Delete, C::Rename, C::UsedSpace, C::Separator, C::SearchFiles, C::SearchInFiles, C::SearchAndReplace};
    return {C::Transfer, C::ViewEdit, C::Separator, C::CreateDirectory, C::Refresh, C::Separator, C::Delete, C::Rename,
            C::FilePermissions, C::UsedSpace, C::Separator, C::SearchFiles, C::SearchInFiles, C::SearchAndReplace};
}

QString PaneCommands::toolTip(PaneCommand command, BrowserSide side, const Language &language)
{
    const Texts t = textsOf(command, side, false);
    return language.text(QString::fromUtf16(t.english), QString::fromUtf16(t.german));
}

QString PaneCommands::menuText(PaneCommand command, BrowserSide side, const Language &language)
{
    const Texts t = textsOf(command, side, true);
    return language.text(QString::fromUtf16(t.english), QString::fromUtf16(t.german));
}

QString PaneCommands::buttonName(PaneCommand command, BrowserSide side)
{
    const bool local = side == BrowserSide::Local;
    switch (command) {
    case C::Separator:
        return {};
    case C::Transfer:
        return local ? QStringLiteral("UploadAction") : QStringLiteral("DownloadAction");
    case C::OpenDirectory:
        return QStringLiteral("OpenDirectorySpeedButton");
    case C::UsedSpace:
        return local ? QStringLiteral("DiskSpeedButton") : QStringLiteral("WebrSpaceSpeedButton");
    default:
        return nameStem(command) + (local ? QStringLiteral("LocalSpeedButton") : QStringLiteral("ServerSpeedButton"));
    }
}

QString PaneCommands::menuItemName(PaneCommand command, BrowserSide side)
{
    const bool local = side == BrowserSide::Local;
    switch (command) {
    case C::Separator:
        return {};
    case C::Transfer:
        return local ? QStringLiteral("UploadMenuItem") : QStringLiteral("Download1");
    case C::ViewEdit:
        return local ? QStringLiteral("LocalViewEdit1") : QStringLiteral("ViewEdit1");
    case C::UsedSpace:
        return local ? QStringLiteral("CalculateUsedDiskspace1") : QStringLiteral("CalculateUsedWebspace1");
    case C::Delete:
        return local ? QStringLiteral("LocalDelete1") : QStringLiteral("Delete1");
    default:
        return (local ? QStringLiteral("Local") : QStringLiteral("Server")) + nameStem(command) + QStringLiteral("1");
    }
}

bool PaneCommands::isMenuItemEnabled(PaneCommand command, BrowserSide side, const PaneMenuState &state)
{
    switch (command) {
    case C::ViewEdit:
        if (!state.hasRememberedRow)
            return false;
        return side == BrowserSide::Local ? state.rememberedKind != EntryKind::Folder : state.rememberedKind == EntryKind::File;
    case C::Transfer:
        return side == BrowserSide::Server || state.connected;
    default:
        return true;
    }
}

} // namespace Velmora
