#pragma once

#include "app/ToolDialog.h"

namespace Velmora {

class DeleteBackupForm;

// The restore window. Restoring arrives with the backups themselves; for now it owns the
// deletion of all backups, which the program start, a host change and the program end ask of it.
class RestoreForm : public ToolDialog {
    Q_OBJECT
public:
    RestoreForm(const AppContext &context, QWidget *parent);

    // The window that shows the deletion's progress.
    void setDeletionWindow(DeleteBackupForm *window) { m_deletionWindow = window; }

    // True when the caller may go on (backups deleted, or none there); false when the user
    // answered No to the question. An empty question deletes without asking.
    bool DeleteAllBackups(const QString &question);

private:
    DeleteBackupForm *m_deletionWindow = nullptr;
};

} // namespace Velmora
