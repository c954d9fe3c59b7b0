#include "MultiRenamer.h"

#include "app/ProtocolLog.h"
#include "common/RecordText.h"
#include "common/RemotePath.h"
#include "queue/QueueRunner.h"

#include <QFile>
#include <QSet>

namespace Velmora {

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
        } else if (present.contains(step.newName)) {
            step.verdict = RenameStep::Verdict::TargetExists;
            step.reason = QStringLiteral("an entry of the new name exists");
        } else {
            present.remove(step.oldName);
            present.insert(step.newName);
        }
        plan.append(step);
    }
    return plan;
}

MultiRenamer::MultiRenamer(ProtocolLog &protocol, std::function<void()> pump)
    : m_protocol(protocol)
    , m_pump(std::move(pump))
{
}

bool MultiRenamer::refused(const QString &folder, const RenameStep &step)
{
    if (step.verdict == RenameStep::Verdict::Rename)
        return false;
    if (step.verdict != RenameStep::Verdict::Unchanged) {
        m_protocol.AddProtocolMessage(ProtocolEntry::Error,
                                      QStringLiteral("Not renamed: ") + RecordText::printable(folder + step.oldName)
                                          + QStringLiteral(" -> ") + RecordText::printable(step.newName)
                                          + QStringLiteral(" (") + step.reason + u')');
    }
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
                m_protocol.AddProtocolMessage(ProtocolEntry::Error,
                                              QStringLiteral("Not renamed: ") + RecordText::printable(base + step.oldName)
                                                  + QStringLiteral(" -> ") + RecordText::printable(step.newName)
                                                  + QStringLiteral(" (") + file.errorString() + u')');
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
