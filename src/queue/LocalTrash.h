#pragma once

#include <QString>

namespace Velmora {

// The desktop's trash (the freedesktop.org trash that file managers show), where a local
// deletion puts files and folders so that the user can restore them.
//
// Qt finds the trash folder itself: "Trash" in the user's data folder ($XDG_DATA_HOME, usually
// ~/.local/share) for everything on the home folder's file system, and a ".Trash-<uid>" folder
// at the top of other file systems. When it cannot set up the home trash, Qt 6.4 moves the entry
// into "files" below the current working folder and reports success; moveToTrash() therefore
// makes sure the home trash exists first and refuses when it cannot.
class LocalTrash {
public:
    virtual ~LocalTrash() = default;

    // Moves the file, link or folder (with everything in it) to the trash; false when it could
    // not, and then nothing was moved. A link is moved itself, never what it points to.
    virtual bool moveToTrash(const QString &path);

    // The home trash folder, created when missing (its parent must exist); empty when there is
    // none and none can be made.
    static QString homeTrashFolder();
};

} // namespace Velmora
