#include "TransferSessions.h"

#include <QEventLoop>

namespace Velmora {

TransferSessions::TransferSessions(QObject *parent)
    : QObject(parent)
{
}

TransferSessions::~TransferSessions()
{
    closeAll();
}

int TransferSessions::open(int count, const SessionLogin &login, const TransferMover::Setup &setup)
{
    std::vector<std::unique_ptr<TransferSession>> opening;
    QEventLoop loop;
    int waiting = count;
    for (int i = 0; i < count; ++i) {
        auto session = std::make_unique<TransferSession>(i + 1, login, setup);
        connect(session.get(), &TransferSession::opened, &loop, [&](bool ok, const QString &message) {
            if (!ok)
                m_refusals << message;
            if (--waiting == 0)
                loop.quit();
        });
        session->open();
        opening.push_back(std::move(session));
    }
    if (waiting > 0)
        loop.exec();
    for (std::unique_ptr<TransferSession> &session : opening) {
        disconnect(session.get(), &TransferSession::opened, &loop, nullptr);
        if (!session->isOpen())
            continue; // its thread ends with it
        connect(session.get(), &TransferSession::finished, this, &TransferSessions::finished);
        connect(session.get(), &TransferSession::logLine, this, &TransferSessions::logLine);
        m_sessions.push_back(std::move(session));
    }
    return int(m_sessions.size());
}

TransferSession *TransferSessions::freeSession(int avoid) const
{
    TransferSession *avoided = nullptr;
    for (const std::unique_ptr<TransferSession> &session : m_sessions) {
        if (session->isBusy())
            continue;
        if (session->number() != avoid)
            return session.get();
        avoided = session.get();
    }
    return avoided;
}

void TransferSessions::abortAll()
{
    for (const std::unique_ptr<TransferSession> &session : m_sessions)
        session->abort();
}

void TransferSessions::closeAll()
{
    for (const std::unique_ptr<TransferSession> &session : m_sessions)
        session->close();
    m_sessions.clear();
}

} // namespace Velmora
