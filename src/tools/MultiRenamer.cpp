#include "MultiRenamer.h"

#include "app/ProtocolLog.h"
#include "common/RecordText.h"
#include "common/RemotePath.h"
#include "queue/QueueRunner.h"

#include <QFile>
#include <QSet>

namespace Velmora {

namespace {

// The German reason for a problem RecordText::nameProblem names.
QString germanProblem(const QString &problem)
{
    if (problem == u"contains a character that records cannot hold")
        return QString::fromUtf8("enthält ein Zeichen, das Auftragszeilen nicht aufnehmen können");
    if (problem == u"contains a path separator")
        return QString::fromUtf8("enthält ein Pfadtrennzeichen");
    if (problem == u"names a parent or current folder")
        return QString::fromUtf8("bezeichnet den übergeordneten oder den aktuellen Ordner");
    return problem;
}

} // namespace

QList<RenameStep> PlanRenames(const QStringList &oldNames, const QStringList &newNames, const QStringList &folderNames)
{
    QSet<QString> present(folderNames.cbegin(), folderNames.cend());
    QList<RenameStep> plan;
    for (qsizetype i = 0; i < oldNames.size(); ++i) {
        RenameStep step;
        step.oldName = oldNames.at(i);
        step.newName = newNames.value(i);
        const QString problem = step.newName.isEmpty() ? QStringLiteral("the new name is empty")
                                                       : RecordText::nameProblem(step.newName);
        if (step.newName == step.oldName) {
            step.verdict = RenameStep::Verdict::Unchanged;
        } else if (!problem.isEmpty()) {
            step.verdict = RenameStep::Verdict::NameRefused;
            step.reason = QStringLiteral("the new name ") + problem;
            step.germanReason = step.newName.isEmpty() ? QStringLiteral("der neue Name ist leer")
                                                       : QStringLiteral("der neue Name ") + germanProblem(problem);
        } else if (present.contains(step.newName)) {
            step.verdict = RenameStep::Verdict::TargetExists;
            step.reason = QStringLiteral("an entry of the new name exists");
            step.germanReason = QStringLiteral("ein Eintrag mit dem neuen Namen existiert");
        } else {
            present.remove(step.oldName);
            present.insert(step.newName);
        }
        plan.append(step);
    }
    return plan;
}

MultiRenamer::MultiRenamer(ProtocolLog &protocol, std::function<void()> pump, bool german)
    : m_protocol(protocol)
    , m_pump(std::move(pump))
    , m_german(german)
{
}

void MultiRenamer::notRenamed(const QString &path, const QString &newName, const QString &reason)
{
    const QString line = (m_german ? QStringLiteral("Nicht umbenannt: ") : QStringLiteral("Not renamed: "))
        + RecordText::printable(path) + QStringLiteral(" -> ") + RecordText::printable(newName) + QStringLiteral(" (")
        + reason + u')';
    m_protocol.AddProtocolMessage(ProtocolEntry::Error, line);
    m_refusals.append(line);
}

QString MultiRenamer::refusalMessage() const
{
    if (m_refusals.isEmpty())
        return {};
    return (m_german ? QStringLiteral("Diese Dateien wurden nicht umbenannt:") : QStringLiteral("These files were not renamed:"))
        + u'\n' + m_refusals.join(u'\n');
}

bool MultiRenamer::refused(const QString &folder, const RenameStep &step)
{
    if (step.verdict == RenameStep::Verdict::Rename)
        return false;
    if (step.verdict != RenameStep::Verdict::Unchanged)
        notRenamed(folder + step.oldName, step.newName, m_german ? step.germanReason : step.reason);
    return true;
}

int MultiRenamer::renameLocal(const QString &folder, const QList<RenameStep> &plan)
{
    const QString base = IncludeTrailingBackslash(folder);
    int renamed = 0;
    for (const RenameStep &step : plan) {
        if (!refused(base, step)) {
            QFile file(base + step.oldName);
            // QFile::rename refuses to replace an existing file, so a file that appeared since
            // the listing is kept as well.
            if (file.rename(base + step.newName)) {
                ++renamed;
            } else {
                notRenamed(base + step.oldName, step.newName, file.errorString());
            }
        }
        pump();
    }
    return renamed;
}

int MultiRenamer::renameRemote(QueueRunner &runner, const QString &folder, const QList<RenameStep> &plan)
{
    const QString base = folder.endsWith(u'/') ? folder : folder + u'/';
    int sent = 0;
    for (const RenameStep &step : plan) {
        if (!refused(base, step)) {
            runner.RenameRemote(base + step.oldName, base + step.newName);
            ++sent;
        }
        pump();
    }
    return sent;
}

void MultiRenamer::pump()
{
    if (m_pump)
        m_pump();
}

} // namespace Velmora
