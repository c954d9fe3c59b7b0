#pragma once

#include "BrowserSide.h"

#include "common/ListingEntry.h"

#include <QList>
#include <QString>

namespace Velmora {

class Language;

// The commands of a pane's toolbar and of its grid's context menu.
enum class PaneCommand {
    Separator,
    Transfer,        // "Upload [F5]" / "Download [F5]"
    OpenDirectory,   // local only
    ViewEdit,
    CreateDirectory,
    Refresh,
    Delete,
    Rename,
    FilePermissions, // server only
    UsedSpace,       // "Calculate used diskspace" / "Calculate used webspace"
    SearchFiles,
    SearchInFiles,
    SearchAndReplace,
};

// What the enabling rules of the context menu look at when it opens.
struct PaneMenuState {
    bool hasRememberedRow = false;
    EntryKind rememberedKind = EntryKind::Folder;
    bool connected = false;
};

class PaneCommands {
public:
    // The pane toolbar's buttons, in order (the transfer button first).
    static QList<PaneCommand> toolbar(BrowserSide side);
    // The grid's context menu, in order, with its separators.
    static QList<PaneCommand> contextMenu(BrowserSide side);
    // The tool tip of a toolbar button and the caption of a menu item.
    static QString toolTip(PaneCommand command, BrowserSide side, const Language &language);
    static QString menuText(PaneCommand command, BrowserSide side, const Language &language);
    // The component name of a toolbar button and of a menu item.
    static QString buttonName(PaneCommand command, BrowserSide side);
    static QString menuItemName(PaneCommand command, BrowserSide side);
    // Whether the context menu item is enabled when the menu opens: "View/Edit [F4]" only for a
    // remembered row that is no folder (local) or that is a file (server); "Upload [F5]" only
    // while connected. Every other item is enabled.
    static bool isMenuItemEnabled(PaneCommand command, BrowserSide side, const PaneMenuState &state);
};

} // namespace Velmora
