#pragma once

#include "app/ToolDialog.h"

#include <QList>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace Velmora {

// The design chooser: one radio button per design. When shown, the current design is checked;
// OK makes the checked one the current design (the main window and every dialog header follow
// at once), Abort changes nothing.
class DesignForm : public ToolDialog {
    Q_OBJECT
public:
    DesignForm(const AppContext &context, QWidget *parent);

    // The chooser's caption of a design, in the current language.
    QString captionOf(const QString &designName) const;
    QRadioButton *radioButtonOf(const QString &designName) const;
    QGroupBox *designGroup() const { return m_group; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *abortButton() const { return m_abort; }

    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;
    void retranslate() override;

private:
    QGroupBox *m_group = nullptr;
    QList<QRadioButton *> m_radios; // in the order of DesignState::names()
    QPushButton *m_ok = nullptr;
    QPushButton *m_abort = nullptr;
};

} // namespace Velmora
