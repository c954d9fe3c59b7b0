#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace Velmora {

// A download in progress on the local disk: the file that receives the bytes
// ("<name>.velmora-part") and, for a download that can be continued later, a small note beside it
// ("<name>.velmora-part.info") that says which remote file the bytes come from and how that file
// looked (size and modification time) when the download began. The next download of the same
// file goes on from the partial file only when the note matches what the server says now.
class PartialDownload {
public:
    // What the bytes of the partial file belong to.
    struct Origin {
        QString site;   // "user@host:port"
        QString remote; // the remote path
        qint64 size = -1;
        QDateTime modified; // UTC
        bool operator==(const Origin &other) const = default;
    };

    explicit PartialDownload(const QString &localPath);

    static QString partName(const QString &localPath);
    static QString infoName(const QString &localPath);
    // The names of these working files: a folder walk of an upload never takes them for the
    // user's files.
    static bool isWorkFileName(const QString &fileName);

    QString partPath() const { return m_part; }
    qint64 partSize() const;
    // The byte to continue from: the size of the partial file when its note names exactly this
    // origin and the file holds a part of it (more than nothing, not more than the whole); -1
    // otherwise.
    qint64 continuationOffset(const Origin &now) const;
    // A fresh start: an empty partial file and the note for this origin. False when either
    // cannot be written.
    bool start(const Origin &origin);
    // Whether what the partial file holds is worth keeping for a later continuation.
    bool worthKeeping(const Origin &origin) const;
    // Removes the partial file and its note.
    void discard() const;
    // Removes the note only (the partial file has taken its real name).
    void forgetNote() const;

    std::optional<Origin> readNote() const;

private:
    QString m_part;
    QString m_info;
};

} // namespace Velmora
