#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace Velmora {

class ProtocolLog;

// The destination folders of "Copy a file to each directory": the folders the collection read,
// each once, where it came first.
QStringList UniqueFolders(const QStringList &foldersRead);

// The upload records for every destination folder and every source file, grouped by folder:
// "STOR|" local path "|" folder "/" name "§1|" name "|" size "|" last-write time. A source whose
// path or name records cannot hold is left out with a protocol error line naming it; the
// sizes and the number of records are added to the two counters. germanTexts: that line in German.
QStringList CopyUploadRecords(const QStringList &destinations, const QStringList &sources, bool germanDates,
                              ProtocolLog &protocol, qint64 &totalBytes, qint64 &files, bool germanTexts = false);

// The local copies of every source file into every destination folder.
class LocalEachDirCopy {
public:
    struct Result {
        int copied = 0;          // new files and replaced ones
        int keptExisting = 0;    // existing files left as they were
        int failed = 0;          // copies that could not be made (protocol error lines)
    };

    LocalEachDirCopy(ProtocolLog &protocol, std::function<void()> pump = {});

    // How many copies would replace an existing file (the source itself never counts: a file
    // is never copied onto itself).
    static int existingTargets(const QStringList &destinations, const QStringList &sources);
    // Copies every source into every destination; an existing file of the name is replaced only
    // with replaceExisting. A copy is written beside its target first and takes the target's
    // place only once it is whole, so a failed copy leaves the old file as it was.
    Result copy(const QStringList &destinations, const QStringList &sources, bool replaceExisting);

    static QString targetPath(const QString &destination, const QString &source);

private:
    bool copyOne(const QString &source, const QString &target);
    void failed(const QString &source, const QString &target, const QString &why);

    ProtocolLog &m_protocol;
    std::function<void()> m_pump;
};

} // namespace Velmora
