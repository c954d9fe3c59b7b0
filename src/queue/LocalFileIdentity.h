#pragma once

#include <QString>

namespace Velmora {

// What tells one state of a local file from any other: its device, inode and the time its
// inode last changed (ctime). Writing to the file, replacing it, or setting its modification
// time back (as "cp -p", "rsync -a" or "touch -r" do) all change it, and no program can set it
// back. Empty when the file cannot be read.
QString LocalFileIdentity(const QString &path);

} // namespace Velmora
