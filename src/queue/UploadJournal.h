#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace Velmora {

// Remembers the uploads this program began and has not seen finish, one small file each in a
// folder of its own: which local file (its path, size and modification time) went to which
// remote file, and the time the server gave for that remote file before the upload began
// (invalid when it did not exist). A later upload of the same file may then continue the
// remote file, but only when it is this program's unfinished work: the local file is unchanged
// (not only its size and time: its identity, see LocalFileIdentity) and the remote file has
// changed since the upload began.
class UploadJournal {
public:
    struct Entry {
        QString site;   // "user@host:port"
        QString remote; // the remote path
        QString local;
        qint64 localSize = -1;
        QDateTime localModified;
        QDateTime remoteBefore; // UTC; invalid: the remote file did not exist or had no time
        // LocalFileIdentity of the local file when the upload began; entries written before it
        // was kept have none, and are not continued.
        QString localIdentity;
    };

    explicit UploadJournal(const QString &folder);

    std::optional<Entry> find(const QString &site, const QString &remote) const;
    // False when the entry cannot be written: the upload then cannot be continued later.
    bool remember(const Entry &entry) const;
    void forget(const QString &site, const QString &remote) const;

private:
    QString fileFor(const QString &site, const QString &remote) const;

    QString m_folder;
};

} // namespace Velmora
