#pragma once

#include "RenamePattern.h"
#include "RenamePreviewModel.h"

#include "app/ToolDialog.h"

#include <QDateTime>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableView;

namespace Velmora {

// The multi rename tool: a name pattern and an extension pattern with their placeholder
// buttons, a search and replace over the built names, the counter, and the preview of every
// old and new name, computed again after every change of an input. The inputs keep their
// values for the whole program run; the preview is filled anew on every use.
class MultiRenameToolForm : public ToolDialog {
    Q_OBJECT
public:
    MultiRenameToolForm(const AppContext &context, QWidget *parent);

    // Fills the preview with the files and computes their new names (FormShow).
    void prepare(QList<RenamePreviewRow> rows);
    // prepare() and the modal dialog; true for "Start Renaming".
    bool ask(QList<RenamePreviewRow> rows);

    RenamePatternInputs inputs() const;
    void setInputs(const RenamePatternInputs &inputs);
    // Computes every new name from the inputs, the date and the time of now.
    void updatePreview();
    RenamePreviewModel &preview() { return *m_preview; }
    // Where "now" comes from (tests fix it).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    QLineEdit *namePatternEdit() const { return m_name; }
    QLineEdit *extensionPatternEdit() const { return m_extension; }
    QTableView *previewGrid() const { return m_grid; }

protected:
    void retranslate() override;

private:
    QPushButton *placeholderButton(QWidget *parent, const char *name, QLineEdit *edit, const QString &placeholder);

    RenamePreviewModel *m_preview;
    std::function<QDateTime()> m_clock;
    QGroupBox *m_nameGroup = nullptr;
    QGroupBox *m_extensionGroup = nullptr;
    QGroupBox *m_searchGroup = nullptr;
    QGroupBox *m_counterGroup = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_extension = nullptr;
    QLineEdit *m_search = nullptr;
    QLineEdit *m_replacement = nullptr;
    QSpinBox *m_start = nullptr;
    QSpinBox *m_step = nullptr;
    QComboBox *m_digits = nullptr;
    QLabel *m_searchLabel = nullptr;
    QLabel *m_replacementLabel = nullptr;
    QLabel *m_startLabel = nullptr;
    QLabel *m_stepLabel = nullptr;
    QLabel *m_digitsLabel = nullptr;
    QPushButton *m_nameButton = nullptr;
    QPushButton *m_counterButton = nullptr;
    QPushButton *m_dateButton = nullptr;
    QPushButton *m_timeButton = nullptr;
    QPushButton *m_extensionButton = nullptr;
    QPushButton *m_extensionCounterButton = nullptr;
    QTableView *m_grid = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_abort = nullptr;
};

} // namespace Velmora
