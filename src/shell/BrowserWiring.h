#pragma once

#include <QObject>

namespace Velmora {

class BrowserController;
class MainForm;
class MainWindowPort;
class MasterFTP;
class TypeAheadSearch;
struct AppContext;

// Puts the two file panes into the main window: the browser drives the window's pane controls,
// lists and empties the server grid on the window's requests, reads the column layouts when the
// window is first shown and saves them when it closes.
class BrowserWiring : public QObject {
    Q_OBJECT
public:
    BrowserWiring(AppContext &context, MainForm &main, MainWindowPort &port, MasterFTP &ftp, TypeAheadSearch &typeAhead);
    ~BrowserWiring() override;

    BrowserController &browser() { return *m_browser; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MainForm &m_main;
    BrowserController *m_browser;
};

} // namespace Velmora
