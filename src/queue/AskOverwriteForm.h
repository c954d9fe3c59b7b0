#pragma once

#include "OverwriteQuestion.h"

#include "app/ToolDialog.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace Velmora {

// The overwrite question: "The target file allready exists.", the target path, the action
// (Overwrite or Skip) and how far the answer reaches ("Allways use this action", "Apply to
// current queue only"). Every change of a control is written to the policy at once.
class AskOverwriteForm : public ToolDialog, public OverwriteQuestion {
    Q_OBJECT
public:
    AskOverwriteForm(const AppContext &context, QWidget *parent);

    // Shows the question modally; true when it was left with OK.
    bool askOverwrite(const QString &targetPath, OverwritePolicy &policy) override;
    // The path as shown: "/ " and "\ " so that long paths wrap.
    static QString wrappablePath(const QString &path);

    // Prepares the controls for a question (also used by the window tests, which then drive the
    // window without its modal loop).
    void prepare(const QString &targetPath, OverwritePolicy &policy);

    QRadioButton *overwriteRadioButton() const { return m_overwrite; }
    QRadioButton *skipRadioButton() const { return m_skip; }
    QCheckBox *allwaysCheckBox() const { return m_always; }
    QCheckBox *currentQueueCheckBox() const { return m_currentQueue; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *abortButton() const { return m_abort; }
    QLabel *messageLabel() const { return m_message; }
    QLabel *pathLabel() const { return m_path; }

protected:
    void retranslate() override;

private:
    void checkBoxClicked(QCheckBox *clicked, QCheckBox *other);
    void applyToPolicy();

    OverwritePolicy *m_policy = nullptr;
    QLabel *m_message = nullptr;
    QLabel *m_path = nullptr;
    QGroupBox *m_action = nullptr;
    QRadioButton *m_overwrite = nullptr;
    QRadioButton *m_skip = nullptr;
    QCheckBox *m_always = nullptr;
    QCheckBox *m_currentQueue = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_abort = nullptr;
};

} // namespace Velmora
