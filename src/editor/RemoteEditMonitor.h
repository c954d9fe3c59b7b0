#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace Velmora {

struct AppContext;

// Watches the working copy of a server file opened with View/Edit ("TimerFileMonitoring", every
// 500 ms): each change of the copy's stamp asks whether to upload it to the server. The new
// stamp is kept before the question, so one change is asked about once however long the
// question stays open, and every later save asks again. One copy at a time. Nothing is asked
// while other work runs: the change is offered once it is over, and a change that could not
// be uploaded (work running, no connection, the upload failed) stays offered.
class RemoteEditMonitor : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<bool()> ensureConnected;     // true when the session is (or came) up
        std::function<bool(const QString &local, const QString &remote)> upload; // true when it succeeded
        std::function<void()> relistServer;        // the folder the server path box shows
        std::function<bool()> workRuns;            // a command or a walk is running (optional)
    };
    static constexpr int IntervalMs = 500;

    RemoteEditMonitor(const AppContext &context, Hooks hooks, QObject *parent = nullptr);

    // Watches the copy from its present stamp on, and switches the timer on.
    void start(const QString &copyPath, const QString &remotePath);
    void stop();
    bool isActive() const { return m_timer.isActive(); }
    QTimer &timer() { return m_timer; }
    QString copyPath() const { return m_copy; }
    QString remotePath() const { return m_remote; }
    QString stamp() const { return m_stamp; }

    // One tick of the timer.
    void check();
    QString question() const;

private:
    const AppContext &m_context;
    Hooks m_hooks;
    QTimer m_timer;
    QString m_copy;
    QString m_remote;
    QString m_stamp;
};

} // namespace Velmora
