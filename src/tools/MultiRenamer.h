#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace Velmora {

class ProtocolLog;
class QueueRunner;

// One file of a multi rename, and whether it is renamed.
struct RenameStep {
    enum class Verdict {
        Rename,       // goes ahead
        Unchanged,    // the new name is the old one: nothing to do
        NameRefused,  // the new name cannot name a file in this folder (empty, "/", "." ...)
        TargetExists, // another entry of the folder has that name: it is never replaced
    };
    QString oldName;
    QString newName;
    Verdict verdict = Verdict::Rename;
    QString reason;       // why a step does not go ahead
    QString germanReason; // the same in German
};

// Decides each rename in list order against the names the folder holds: a rename never
// replaces an entry, also not one an earlier rename of the same run created, and a name that
// an earlier rename freed may be taken.
QList<RenameStep> PlanRenames(const QStringList &oldNames, const QStringList &newNames, const QStringList &folderNames);

// Carries the renames of a plan out: local files through the file system (which never replaces
// an existing file either), server files through the session's rename. Every step that does
// not go ahead, and every local failure, becomes a protocol error line naming the file (in
// German when asked) and is kept for the message the window shows afterwards; the window
// handles its messages after each file.
class MultiRenamer {
public:
    explicit MultiRenamer(ProtocolLog &protocol, std::function<void()> pump = {}, bool german = false);

    // Returns the number of files renamed.
    int renameLocal(const QString &folder, const QList<RenameStep> &plan);
    // Returns the number of renames sent; failures are written to the protocol by the session.
    int renameRemote(QueueRunner &runner, const QString &folder, const QList<RenameStep> &plan);
    // The lines of the files that were not renamed, in plan order.
    const QStringList &refusals() const { return m_refusals; }
    // The message that lists them for the user; empty when every file was renamed.
    QString refusalMessage() const;

private:
    bool refused(const QString &folder, const RenameStep &step);
    void notRenamed(const QString &path, const QString &newName, const QString &reason);
    void pump();

    ProtocolLog &m_protocol;
    std::function<void()> m_pump;
    bool m_german;
    QStringList m_refusals;
};

} // namespace Velmora
