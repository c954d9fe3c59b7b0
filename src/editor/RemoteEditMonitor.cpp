#include "RemoteEditMonitor.h"

#include "FileStamp.h"

#include "app/AppContext.h"
#include "app/UserPrompts.h"

namespace Velmora {

RemoteEditMonitor::RemoteEditMonitor(const AppContext &context, Hooks hooks, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_hooks(std::move(hooks))
{
    m_timer.setInterval(IntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &RemoteEditMonitor::check);
}

void RemoteEditMonitor::start(const QString &copyPath, const QString &remotePath)
{
    m_copy = copyPath;
    m_remote = remotePath;
    m_stamp = FileStamp(copyPath);
    m_timer.start();
}

void RemoteEditMonitor::stop()
{
    m_timer.stop();
}

QString RemoteEditMonitor::question() const
{
    return m_context.text(QStringLiteral("The file ") + m_remote + QStringLiteral(" has been changed. Upload this file back to the server?"),
                          QStringLiteral("Die Datei ") + m_remote
                              + QStringLiteral(" wurde verändert. Datei zurück auf den Server laden?"));
}

void RemoteEditMonitor::check()
{
    if (!m_timer.isActive())
        return; // switched off: a tick that was already on its way
    if (m_hooks.workRuns && m_hooks.workRuns())
        return; // the session is in use: asked once the work is over
    const QString stamp = FileStamp(m_copy);
    if (stamp == m_stamp)
        return;
    const QString previous = m_stamp;
    m_stamp = stamp; // before the question: ticks during it must not ask again
    if (m_context.prompts.confirm(question())) {
        if (m_hooks.workRuns && m_hooks.workRuns()) {
            m_stamp = previous; // work began during the question: offered again afterwards
            return;
        }
        if (!m_hooks.ensureConnected() || !m_hooks.upload(m_copy, m_remote)) {
            m_stamp = previous; // not on the server: the change is offered again
            return;
        }
    }
    m_hooks.relistServer();
}

} // namespace Velmora
