#pragma once

#include "AppFolders.h"

namespace Velmora {

class DesignState;
class Language;
class MasterFTP;
class Options;
class Platform;
class ProtocolLog;
class TypeAheadSearch;
class UserPrompts;
struct WorkControl;

// The objects every window and the engine share for the whole run. Handed to constructors;
// nothing here is reached through globals.
struct AppContext {
    AppFolders folders;
    Language *language = nullptr;
    Options *options = nullptr;
    ProtocolLog *protocol = nullptr;
    UserPrompts *prompts = nullptr;
    Platform *platform = nullptr;
    DesignState *design = nullptr;
    MasterFTP *ftp = nullptr;
    WorkControl *work = nullptr;
    TypeAheadSearch *typeAhead = nullptr; // shared by the file grids and the site manager
    bool systemIsGerman = false;
    QString versionText;
    QString captionText() const { return QStringLiteral("Velmora - ") + versionText; }
};

} // namespace Velmora
