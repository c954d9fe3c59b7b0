#pragma once

#include "TransferSession.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

namespace Velmora {

// The extra connections of one queue run: opens them side by side, lends out a free one, aborts
// and closes them all. A server that refuses some of them (too many connections from one
// address, say) leaves the run with those it accepted.
class TransferSessions : public QObject {
    Q_OBJECT
public:
    explicit TransferSessions(QObject *parent = nullptr);
    ~TransferSessions() override;

    // Opens up to count sessions at once and waits until each has logged in or failed; returns
    // how many are open. The messages of those that failed are in refusals().
    int open(int count, const SessionLogin &login, const TransferMover::Setup &setup);
    QStringList refusals() const { return m_refusals; }
    int count() const { return int(m_sessions.size()); }
    TransferSession &at(int i) const { return *m_sessions.at(size_t(i)); }
    // A session that carries out nothing now, or null; one other than the session numbered
    // avoid when there is such a one.
    TransferSession *freeSession(int avoid = 0) const;
    void abortAll();
    // Logs every session out and ends its thread.
    void closeAll();

Q_SIGNALS:
    // Forwarded from the sessions.
    void finished(int index, const Velmora::TransferOutcome &outcome);
    void logLine(int kind, const QString &text);

private:
    std::vector<std::unique_ptr<TransferSession>> m_sessions;
    QStringList m_refusals;
};

} // namespace Velmora
