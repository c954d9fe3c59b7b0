#pragma once

#include <QString>

namespace Velmora {

// The local side of the browser's file commands, on plain paths. Folders end with "/".
class LocalFileOperations {
public:
    // Gives a file or folder of the folder a new name in place. Nothing happens (false) when the
    // old entry or its folder is missing, or an entry of the new name exists already: a rename
    // never replaces anything.
    static bool rename(const QString &folder, const QString &oldName, const QString &newName);
    // Creates folder + name with any missing parents ("a/b" gives "a" and "a/b"); false when it
    // exists already or cannot be created.
    static bool createDirectory(const QString &folder, const QString &name);

    enum class CreateFileResult { Created, AlreadyExists, Failed };
    // An empty file at path. An entry of that name (file or folder) is never replaced.
    static CreateFileResult createEmptyFile(const QString &path);
    // Copies an empty file to target unless an entry of that name exists already.
    static CreateFileResult copyNew(const QString &source, const QString &target);
};

} // namespace Velmora
