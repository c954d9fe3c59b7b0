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
// Empty stays empty; otherwise ends with exactly the native separator.
QString IncludeTrailingBackslash(const QString &path);

} // namespace Velmora
