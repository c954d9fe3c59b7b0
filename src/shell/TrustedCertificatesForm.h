#pragma once

#include "app/ToolDialog.h"

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace Velmora {

// Options > "Trusted certificates...": the certificates kept by "Trust always" (server,
// fingerprint, subject, valid until), each of which can be removed, so that the next connect to
// its server asks again. Lines of the file that are no entry are named and kept. SSH host keys
// are not here: the window says how to remove one from known_hosts.
class TrustedCertificatesForm : public ToolDialog {
    Q_OBJECT
public:
    TrustedCertificatesForm(const AppContext &context, QWidget *parent);

    // Reads the file again into the grid.
    void reload();
    // Removes the selected entry after asking.
    void RemoveButtonClick();

    QTableView *grid() const { return m_grid; }
    QStandardItemModel *model() const { return m_model; }

protected:
    void showEvent(QShowEvent *event) override;
    void retranslate() override;

private:
    QString storeFolder() const;
    void updateButtons();

    QLabel *m_intro = nullptr;
    QTableView *m_grid = nullptr;
    QStandardItemModel *m_model = nullptr;
    QLabel *m_unreadable = nullptr;
    QLabel *m_hostKeys = nullptr;
    QPushButton *m_remove = nullptr;
    QPushButton *m_close = nullptr;
};

} // namespace Velmora
