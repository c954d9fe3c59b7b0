#include "RestoreForm.h"

#include "BackupStore.h"
#include "DeleteBackupForm.h"

#include "app/PlaceholderContent.h"

namespace Velmora {

namespace {

// Used when no window was handed over: the deletion runs without a display.
class SilentDeletionView : public BackupDeletionView {
public:
    void deletionStarted() override {}
    void lineAdded(const QString &) override {}
    void deletionFinished() override {}
};

} // namespace

RestoreForm::RestoreForm(const AppContext &context, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("Restore"), QStringLiteral("Wiederherstellen"))
{
    setObjectName(QStringLiteral("RestoreForm"));
    AddPlaceholderContent(*this, contentLayout());
}

bool RestoreForm::DeleteAllBackups(const QString &question)
{
    const BackupStore store(context().folders.tempFolder, context().prompts, context().language, &context().protocol);
    if (m_deletionWindow)
        return store.DeleteAllBackups(question, *m_deletionWindow);
    SilentDeletionView silent;
    return store.DeleteAllBackups(question, silent);
}

} // namespace Velmora
