#pragma once

#include "AppFolders.h"
#include "common/Language.h"

#include <QString>

namespace Velmora {

class DesignState;
class Options;
class Platform;
class ProtocolLog;
class UserPrompts;

// The services that exist for the whole run, handed by reference to the classes that use them.
// The FTP session, the work control and the type-ahead search are not here: they go explicitly
// to the few classes that need them.
struct AppContext {
    AppFolders &folders;
    Language &language;
    Options &options;
    ProtocolLog &protocol;
    UserPrompts &prompts;
    Platform &platform;
    DesignState &design;
    bool systemIsGerman = false;
    QString versionText;

    QString captionText() const { return QStringLiteral("Velmora - ") + versionText; }
    // The English or the German text, as the current language says.
    QString text(const QString &english, const QString &german) const { return language.text(english, german); }
};

} // namespace Velmora
