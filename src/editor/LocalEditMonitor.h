#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace Velmora {

struct AppContext;

// Watches the local file last opened with View/Edit ("LocalFileMonitoringTimer", every 100 ms)
// until its first change: then it stops, lists the local folder again and, when the server
// folder shown at View/Edit holds a file of that name, asks whether to upload the edited file
// there. The panes may show other folders by then: the upload always takes the edited file to
// the folder it was opened beside, on the site connected then. While another site is connected
// nothing is asked or sent: the change is offered once that site is connected again. Nothing is
// asked while other work runs.
class LocalEditMonitor : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<bool()> localGridUsable;   // enabled and visible (the window is not busy)
        std::function<bool()> serverGridUsable;  // enabled and visible
        std::function<bool()> ensureConnected;
        std::function<QString()> serverPath;     // the folder the server grid shows
        std::function<QString()> site;           // who the session is connected to (optional)
        std::function<bool()> workRuns;          // a command or a walk is running (optional)
        std::function<bool(const QString &remote)> remoteFileExists;
        std::function<bool(const QString &local, const QString &remote)> upload; // true when it succeeded
        std::function<void()> relistLocal;
        std::function<void()> relistServer;
    };
    static constexpr int IntervalMs = 100;

    LocalEditMonitor(const AppContext &context, Hooks hooks, QObject *parent = nullptr);

    // LocalEditRecord: the file and its stamp now, and the server folder shown now; the timer is
    // switched on.
    void start(const QString &path);
    void stop();
    bool isActive() const { return m_timer.isActive(); }
    QTimer &timer() { return m_timer; }
    QString path() const { return m_path; }
    QString stamp() const { return m_stamp; }

    // One tick of the timer.
    void check();

private:
    const AppContext &m_context;
    Hooks m_hooks;
    QTimer m_timer;
    QString m_path;
    QString m_serverFolder;
    QString m_site;
    QString m_stamp;
};

} // namespace Velmora
