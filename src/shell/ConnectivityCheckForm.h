#pragma once

#include "ConnectivityProbe.h"

#include "app/ToolDialog.h"

class QLabel;
class QPushButton;

namespace Velmora {

// Tells the user what the system says about the internet connection, above all when there is
// none.
class ConnectivityCheckForm : public ToolDialog {
    Q_OBJECT
public:
    ConnectivityCheckForm(const AppContext &context, QWidget *parent);

    // Shows the window with the text for this state.
    void showState(ConnectivityProbe::State state);
    QString messageFor(ConnectivityProbe::State state) const;
    ConnectivityProbe::State state() const { return m_state; }
    QLabel *messageLabel() const { return m_message; }
    QPushButton *closeButton() const { return m_close; }

protected:
    void retranslate() override;

private:
    ConnectivityProbe::State m_state = ConnectivityProbe::State::Unknown;
    QLabel *m_message = nullptr;
    QPushButton *m_close = nullptr;
};

} // namespace Velmora
