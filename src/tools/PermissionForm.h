#pragma once

#include "PermissionBits.h"
#include "PermissionRun.h"

#include "app/ToolDialog.h"

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace Velmora {

// The file permissions dialog: the nine permission bits as boxes and as a three-digit octal
// value, kept in step both ways, and for a selection with folders the recursion with its scope.
// The owner's Read and Execute boxes cannot be clicked. Recursion and scope keep their state
// from one use to the next; boxes and value are set anew on every opening.
class PermissionForm : public ToolDialog {
    Q_OBJECT
public:
    PermissionForm(const AppContext &context, QWidget *parent);

    // Sets the dialog up for a selection (FormShow): the recursion group for folders, the boxes
    // from the permissions text, the value from the boxes.
    void prepare(bool selectionHasFolder, const QString &permissionString);
    // prepare() and the modal dialog; true for OK.
    bool ask(bool selectionHasFolder, const QString &permissionString);
    PermissionChoice choice() const;

    PermissionBits bits() const;
    void setBits(const PermissionBits &bits);
    QCheckBox *box(int bit) const { return m_boxes[size_t(bit)]; }
    QLineEdit *valueEdit() const { return m_value; }
    QGroupBox *recursiveGroup() const { return m_recursiveGroup; }
    QCheckBox *recursiveCheckBox() const { return m_recursive; }
    QRadioButton *fileAndDirRadioButton() const { return m_all; }
    QRadioButton *fileRadioButton() const { return m_files; }
    QRadioButton *dirRadioButton() const { return m_dirs; }

protected:
    void retranslate() override;

private:
    void boxClicked();
    void ValueEditChange(const QString &text);
    void updateScopeEnabled();

    std::array<QCheckBox *, 9> m_boxes{};
    std::array<QGroupBox *, 3> m_groups{};
    QLabel *m_hint = nullptr;
    QLabel *m_valueLabel = nullptr;
    QLineEdit *m_value = nullptr;
    QGroupBox *m_recursiveGroup = nullptr;
    QCheckBox *m_recursive = nullptr;
    QRadioButton *m_all = nullptr;
    QRadioButton *m_files = nullptr;
    QRadioButton *m_dirs = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_abort = nullptr;
    bool m_updating = false;
};

} // namespace Velmora
