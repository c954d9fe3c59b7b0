#pragma once

#include <QApplication>

#include <functional>

namespace Velmora {

// Routes every exception that escapes an event handler to one handler instead of ending the
// program: nothing is shown, the window returns to the idle state.
class VelmoraApplication : public QApplication {
    Q_OBJECT
public:
    VelmoraApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
    void setUnexpectedErrorHandler(std::function<void(const QString &message)> handler)
    {
        m_handler = std::move(handler);
    }

private:
    std::function<void(const QString &)> m_handler;
};

} // namespace Velmora
