#pragma once

#include <QString>

namespace Velmora {

// Files never opened from the server grid: the extensions ".exe", ".com", ".dll" and ".ocx",
// compared in lower case.
bool HasExecutableExtension(const QString &fileName);

} // namespace Velmora
