#pragma once

#include <QString>

namespace Velmora {

// The profile folder is the owner's alone: mode 0700, and every file in it 0600. A profile of an
// older version (a folder others may enter) is tightened once, at the start that finds it so:
// group and other permissions are taken from every folder and file inside. Links are neither
// followed nor changed: what they point at was put there by the user.
class ProfilePermissions {
public:
    // True when the folder was open to others and has now been tightened (with its content).
    static bool tighten(const QString &folder);
    // Whether group or others have any permission on the path.
    static bool openToOthers(const QString &path);
};

} // namespace Velmora
