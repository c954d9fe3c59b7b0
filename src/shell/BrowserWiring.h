#pragma once

#include <QObject>

namespace Velmora {

class BrowserController;
class MainForm;
class MasterFTP;
class QueueController;
class TypeAheadSearch;
struct AppContext;

// Puts the two file panes into the main window: the browser drives the window's pane controls,
// lists on the window's requests, reads the column layouts when the window is first shown and
// saves them when it closes.
class BrowserWiring : public QObject {
    Q_OBJECT
public:
    BrowserWiring(AppContext &context, MainForm &main, MasterFTP &ftp, TypeAheadSearch &typeAhead);
    ~BrowserWiring() override;

    BrowserController &browser() { return *m_browser; }
    // A change of the server folder empties the queue grid through this controller.
    void setQueueController(QueueController &queue) { m_queue = &queue; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MainForm &m_main;
    BrowserController *m_browser;
    QueueController *m_queue = nullptr;
};

} // namespace Velmora
