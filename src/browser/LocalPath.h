#pragma once

#include <QString>

namespace Velmora {

// Path rules of the local pane. Local folders end with "/"; the text "\" alone (and the empty
// text) stands for the drive list: the mounted volumes and the home folder. The root "/" plays the
// part of a drive root: its parent is the drive list.
namespace LocalPath {

// The text that stands for the drive list.
inline const QString DriveListText = QStringLiteral("\\");
bool isDriveList(const QString &text);

// A typed or stored path made fit for listing: trimmed, doubled "/" folded, a trailing "/" added;
// the drive list text (or nothing) gives "\".
QString normalise(const QString &text);

// The first n-1 components of a path, each followed by "/". The root counts as the first
// component of an absolute path, so "/a/b/" gives "/a/", "/a/" gives "/" and "/" gives the empty
// text (the drive list). *lastComponent receives the component that was cut off.
QString parent(const QString &path, QString *lastComponent = nullptr);

// Whether the path names an existing folder. Relative paths never do: a window has no working
// folder the user could know.
bool folderExists(const QString &path);

// While the folder does not exist, cut its last component; after maxCuts cuts (or when nothing
// is left to cut) the start drive is used instead. The drive list text stays as it is.
QString shortenToExisting(const QString &path, const QString &startDrive, int maxCuts = 50);

} // namespace LocalPath

} // namespace Velmora
