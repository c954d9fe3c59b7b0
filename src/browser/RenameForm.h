#pragma once

#include "NameQuestion.h"

#include "app/ToolDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace Velmora {

class DialogHeader;

// The name input dialog that rename, "Create directory" and "Create a file" share: a title, a
// prompt, one text field, OK and Abort. OK with a blank text says "Insert a name!" and keeps
// the dialog open. Created once at start-up and reused; every caller sets its texts.
class RenameForm : public ToolDialog, public NameQuestion {
    Q_OBJECT
public:
    RenameForm(const AppContext &context, QWidget *parent);

    // Shows the dialog modally; the text as typed on OK, nothing on Abort.
    std::optional<QString> askName(const Request &request) override;
    // Sets the title, the prompt and the text (also used by the window tests, which then drive
    // the dialog without its modal loop).
    void prepare(const Request &request);

    // "TopLabel": the title, drawn over the header picture.
    DialogHeader *topLabel() const { return header(); }
    QLabel *infoLabel() const { return m_info; }
    QLineEdit *nameEdit() const { return m_name; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *abortButton() const { return m_abort; }

public Q_SLOTS:
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;
    void retranslate() override;

private:
    QString m_title;
    QLabel *m_info = nullptr;
    QLineEdit *m_name = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_abort = nullptr;
};

} // namespace Velmora
