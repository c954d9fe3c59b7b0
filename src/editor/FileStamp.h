#pragma once

#include <QString>

namespace Velmora {

// What the edited-file monitors compare: the file's last-write time at the full resolution the
// file system keeps (nanoseconds here) and its size, as one text; empty when no such file
// exists. Any difference between two stamps is a change, so two saves a moment apart are two
// changes, and a save that keeps the time but changes the size is one too.
QString FileStamp(const QString &path);

} // namespace Velmora
