#pragma once

#include "app/ToolDialog.h"

#include <optional>

class QPushButton;
class QStandardItem;
class QStandardItemModel;
class QTableView;

namespace Velmora {

// "Last Batchjobs (Logfile)": one row per line of "Lastbatchjob.log", "Clear logfile" and
// "Close". The grid is filled again every time the window is shown; its last column says how
// each job ended ("Done", or "Failed (exit status 3)" in red).
class BatchJobLogForm : public ToolDialog {
    Q_OBJECT
public:
    BatchJobLogForm(const AppContext &context, QWidget *parent);

    // Fills the grid from the log file.
    void FormShow();
    void ClearLogfileButtonClick();

    QTableView *grid() const { return m_grid; }
    QStandardItemModel *model() const { return m_model; }
    QPushButton *clearButton() const { return m_clear; }
    QPushButton *closeButton() const { return m_close; }

protected:
    void showEvent(QShowEvent *event) override;
    void retranslate() override;

private:
    QString logPath() const;
    QStandardItem *resultItem(std::optional<int> exitStatus) const;
    void labelResult(QStandardItem *item) const;
    void fitColumns();

    QTableView *m_grid = nullptr;
    QStandardItemModel *m_model = nullptr;
    QPushButton *m_clear = nullptr;
    QPushButton *m_close = nullptr;
};

} // namespace Velmora
