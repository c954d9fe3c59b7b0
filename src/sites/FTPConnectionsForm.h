#pragma once

#include "ConnectionStore.h"
#include "FTPConnection.h"
#include "SiteImporter.h"
#include "SiteManagerKeys.h"

#include "app/ToolDialog.h"

#include <QTimer>

class QAction;
class QMenu;
class QPushButton;
class QTableView;

namespace Velmora {

class EditFTPDataForm;
class TypeAheadSearch;
class SiteTableModel;

// The site manager: the list of stored sites with New, Edit, Copy, Delete, Import, the
// table-edit mode and the two bulk mode switches, and Connect, which closes the window with
// the result OK and leaves the chosen site in chosenSite(). Every change is saved at once.
class FTPConnectionsForm : public ToolDialog {
    Q_OBJECT
public:
    FTPConnectionsForm(const AppContext &context, TypeAheadSearch &typeAhead, QWidget *parent);
    ~FTPConnectionsForm() override;

    // The edit dialog, created after this window.
    void setEditForm(EditFTPDataForm *editForm);
    // Opens the window modally without blocking: reloads the list, preselects the site
    // connected last and, for an empty list, starts the automatic New.
    void openSiteManager();

    // The site of the last Connect.
    const FTPConnection &chosenSite() const { return m_chosen; }
    ConnectionStore &store() { return m_store; }
    SiteTableModel &model() { return *m_model; }
    QTableView *grid() const { return m_grid; }
    QMenu *importMenu() const { return m_importMenu; }
    QMenu *multiEditMenu() const { return m_multiEditMenu; }
    QTimer &newSiteTimer() { return m_newSiteTimer; }
    int rememberedRow() const { return m_rememberedRow; }
    bool tableEdit() const { return m_tableEdit; }

    // The operations, as the buttons, keys and menu items start them.
    void NewBitBtnClick();
    void EditBitBtnClick();
    void CopyBitBtnClick();
    void DeleteBitBtnClick();
    void ConnectBitBtnClick();
    void ImportBitBtnClick();
    void MultiEditBitBtnClick();
    void setTableEdit(bool on);
    void setAllModes(const QString &mode);
    void runImport(SiteImporter::Kind kind);
    // Opens the import menu at a screen position (below the import button by default).
    void popupImportMenu(const QPoint &globalPosition);

Q_SIGNALS:
    // Connect closed the window; the main window connects to chosenSite().
    void connectRequested();

protected:
    void retranslate() override;

private:
    enum class PendingEdit { None, New, Edit, Copy };

    void buildControls();
    void buildMenus();
    void runKey(SiteManagerKeys::Command command);
    void editFinished(int result);
    void startEdit(PendingEdit kind, const FTPConnection &site, const QString &title);
    bool save();
    void reportSaveFailure();
    void reload();
    void updateButtons();
    void applyTableEditLook();
    void selectRow(int row);
    void selectRemembered();
    int firstRowNamed(const QString &name) const;
    bool hasSelection() const;
    void selectSiteFirst();
    void NewSiteTimerTimer();
    void cellEdited(int row, const FTPConnection &site);

    TypeAheadSearch &m_typeAhead;
    ConnectionStore m_store;
    SiteImporter m_importer;
    SiteTableModel *m_model = nullptr;
    EditFTPDataForm *m_edit = nullptr;
    SiteManagerKeys *m_keys = nullptr;
    QTableView *m_grid = nullptr;
    QPushButton *m_newButton = nullptr, *m_editButton = nullptr, *m_importButton = nullptr, *m_deleteButton = nullptr,
                *m_copyButton = nullptr, *m_multiEditButton = nullptr, *m_connectButton = nullptr, *m_abortButton = nullptr;
    QMenu *m_importMenu = nullptr;
    QMenu *m_multiEditMenu = nullptr;
    QAction *m_importActions[SiteImporter::KindCount] = {};
    QAction *m_tableEditAction = nullptr, *m_allPassiveAction = nullptr, *m_allActiveAction = nullptr;
    QTimer m_newSiteTimer;

    FTPConnection m_current; // the row selected last
    FTPConnection m_chosen;
    int m_rememberedRow = 0;
    bool m_tableEdit = false;
    PendingEdit m_pending = PendingEdit::None;
    int m_editRow = -1;
};

} // namespace Velmora
