#include "LocalEditMonitor.h"

#include "FileStamp.h"

#include "app/AppContext.h"
#include "app/UserPrompts.h"
#include "common/RemotePath.h"

#include <QFileInfo>

namespace Velmora {

LocalEditMonitor::LocalEditMonitor(const AppContext &context, Hooks hooks, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_hooks(std::move(hooks))
{
    m_timer.setInterval(IntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &LocalEditMonitor::check);
}

void LocalEditMonitor::start(const QString &path)
{
    m_path = path;
    m_serverFolder = m_hooks.serverPath();
    m_site = m_hooks.site ? m_hooks.site() : QString();
    m_stamp = FileStamp(path);
    m_timer.start();
}

void LocalEditMonitor::stop()
{
    m_timer.stop();
}

void LocalEditMonitor::check()
{
    if (!m_timer.isActive())
        return; // switched off: a tick that was already on its way
    if (!m_hooks.localGridUsable())
        return; // the window is busy
    if (m_hooks.workRuns && m_hooks.workRuns())
        return; // asked once the work is over; the change stays unnoticed until then
    const QString stamp = FileStamp(m_path);
    if (stamp == m_stamp)
        return;
    if (m_hooks.site && m_hooks.site() != m_site)
        return; // the folder belongs to another site: offered once that one is connected again
    // Watched until the first change only; off before anything is asked.
    m_timer.stop();
    const QString previous = m_stamp;
    m_stamp = stamp;
    m_hooks.relistLocal();

    if (!m_hooks.serverGridUsable() || !m_hooks.ensureConnected())
        return;
    const QString name = QFileInfo(m_path).fileName();
    const QString remote = NormaliseRemotePath(m_serverFolder + u'/' + name);
    if (!m_hooks.remoteFileExists(remote))
        return;
    const QString question = m_context.text(
        QStringLiteral("The file ") + remote + QStringLiteral(" has been changed. Upload this file back to the server?"),
        QStringLiteral("Die Datei ") + remote + QStringLiteral(" wurde verändert. Datei zurück auf den Server laden?"));
    if (!m_context.prompts.confirm(question))
        return;
    if (m_hooks.workRuns && m_hooks.workRuns()) {
        // Work began while the question was open: the upload cannot run now, so the change is
        // offered again once it is over.
        m_stamp = previous;
        m_timer.start();
        return;
    }
    // The file that was edited, wherever the local pane is now.
    if (!m_hooks.upload(m_path, remote)) {
        // Not uploaded: the change stays offered, so the user's edit is never dropped.
        m_stamp = previous;
        m_timer.start();
    }
    m_hooks.relistServer();
}

} // namespace Velmora
