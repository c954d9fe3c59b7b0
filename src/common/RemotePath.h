#pragma once

#include <QString>

namespace Velmora {

// "\" becomes "/", "//" becomes "/" in one left-to-right pass, and a trailing "/" is dropped
// unless the path is the root.
QString NormaliseRemotePath(const QString &path);
// Local paths use the native separator "/": "\" is a legal file name character on this system,
// so only doubled separators are folded, in one pass without rescanning.
QString ToLocalPath(const QString &path);
// "/" + the words of the path except the last; a path of one word gives an empty text.
QString RemoteParentPath(const QString &path);
QString RemoteLastSegment(const QString &path);
// Where a name typed for an entry of a folder leads: a name with "/" or "\" is a path relative
// to the folder (or absolute when it starts with one), "." stays, ".." goes up (never above the
// root). The result is absolute, without "." or ".." and without a trailing "/".
QString ResolveRemotePath(const QString &folder, const QString &name);
// Empty stays empty; otherwise ends with exactly the native separator.
QString IncludeTrailingBackslash(const QString &path);

} // namespace Velmora
