#pragma once

#include "BackupIndex.h"
#include "BackupStore.h"

#include "app/ToolDialog.h"

#include <QList>

class QPushButton;
class QStandardItemModel;
class QTableView;

namespace Velmora {

class DeleteBackupForm;

// "Restore": lists every backup of the run from its index file, and after the question closes
// with OK on the focused row; the main window then puts that backup back. Also owns the run's
// backup store, so the search window's backups and their deletion share one counter.
class RestoreForm : public ToolDialog {
    Q_OBJECT
public:
    RestoreForm(const AppContext &context, QWidget *parent);

    BackupStore &store() { return m_store; }

    // The window that shows the deletion's progress.
    void setDeletionWindow(DeleteBackupForm *window) { m_deletionWindow = window; }

    // True when the caller may go on (backups deleted, or none there); false when the user
    // answered No to the question. An empty question deletes without asking.
    bool DeleteAllBackups(const QString &question);

    // Fills the grid from the backups on disk and selects the first row.
    void prepare();
    // prepare() and the modal window; Accepted means "restore chosen()".
    int openRestore();
    // The backup of the focused row when the window closed with OK.
    const BackupIndex &chosen() const { return m_chosen; }

    QTableView *grid() const { return m_grid; }
    QPushButton *restoreButton() const { return m_restoreButton; }
    QPushButton *abortButton() const { return m_abortButton; }
    // "Restore": the question for the focused row; Yes closes the window with OK.
    void restoreClicked();

protected:
    void retranslate() override;

private:
    BackupStore m_store;
    DeleteBackupForm *m_deletionWindow = nullptr;
    QStandardItemModel *m_model;
    QTableView *m_grid;
    QPushButton *m_restoreButton;
    QPushButton *m_abortButton;
    QList<BackupIndex> m_rows;
    BackupIndex m_chosen;
};

} // namespace Velmora
