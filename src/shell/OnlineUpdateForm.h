#pragma once

#include "app/ToolDialog.h"

class QLabel;
class QPushButton;

namespace Velmora {

// The online update window: the installed version, and that newer versions come through the
// system's package manager (the program does not replace itself).
class OnlineUpdateForm : public ToolDialog {
    Q_OBJECT
public:
    OnlineUpdateForm(const AppContext &context, QWidget *parent);

    QLabel *versionLabel() const { return m_version; }
    QLabel *messageLabel() const { return m_message; }
    QPushButton *closeButton() const { return m_close; }

protected:
    void showEvent(QShowEvent *event) override;
    void retranslate() override;

private:
    QLabel *m_versionCaption = nullptr;
    QLabel *m_version = nullptr;
    QLabel *m_message = nullptr;
    QPushButton *m_close = nullptr;
};

} // namespace Velmora
