#pragma once

#include <QString>
#include <QStringList>

namespace Velmora {

class ProtocolLog;

// Creates every local folder the "RETR" records of the list download into (with its missing
// parents), before a filtered download runs. A folder that cannot be created gets a protocol
// error line; its downloads then fail on their own. False when any folder could not be made.
bool CreateLocalFolders(const QStringList &records, ProtocolLog &protocol);

// Working copies for a local search: every local source file of the "STOR" records is copied
// (over an older copy) from below localPathBox to the same place below downloadFolder, with the
// folders it needs.
void MakeLocalSearchCopies(const QStringList &records, const QString &localPathBox, const QString &downloadFolder,
                           ProtocolLog &protocol);

// The path with the folder of the local path box replaced by the download folder (when it begins
// with it).
QString WorkingCopyPath(const QString &path, const QString &localPathBox, const QString &downloadFolder);

} // namespace Velmora
