#pragma once

#include "BackupDeletionView.h"

#include "app/ToolDialog.h"

class QListWidget;

namespace Velmora {

// "Delete backup": a list that shows each backup folder as it is deleted; no buttons. Shown
// only while DeleteAllBackups runs.
class DeleteBackupForm : public ToolDialog, public BackupDeletionView {
    Q_OBJECT
public:
    DeleteBackupForm(const AppContext &context, QWidget *parent);

    QListWidget *listBox() const { return m_list; }

    void deletionStarted() override;
    void lineAdded(const QString &line) override;
    void deletionFinished() override;

private:
    QListWidget *m_list;
};

} // namespace Velmora
