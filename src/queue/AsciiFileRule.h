#pragma once

#include <QString>
#include <QStringList>

namespace Velmora {

// Whether a file travels in ASCII mode: its name (after the last "/" or "\") has no extension,
// begins with ".", or has one of the 44 text extensions (compared in lower case).
bool IsAsciiFile(const QString &path);
// The name part IsAsciiFile looks at.
QString AsciiRuleFileName(const QString &path);
const QStringList &AsciiExtensions();

} // namespace Velmora
