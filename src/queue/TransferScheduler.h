#pragma once

#include "common/QueueRecord.h"

#include <QList>
#include <QString>

#include <optional>

namespace Velmora {

// Decides which records of a run may start now when downloads and uploads run on several
// sessions at once. Plain bookkeeping: the runner asks next() whenever a session is free and
// reports each record that ends with finished().
//
// The order rules:
// - "RETR" and "STOR" records run side by side, as many as there are sessions, each once every
//   record before it that is not a transfer has ended (a folder is made before files go into it,
//   a folder changed to before files are sent there).
// - Two transfers of the same file (the same remote path or the same local path) keep their
//   order: the later one waits for the earlier one to end.
// - Every other record (MKD, RMD, DELE, CHMOD, renames, CWD, local folders ...) runs alone: it
//   starts once every record before it has ended, and records after it wait for it. So a folder
//   is removed after what is in it, and a file is deleted or changed after its transfer.
// With one session the records run one after the other in their order.
class TransferScheduler {
public:
    TransferScheduler(const QList<QueueRecord> &records, int sessions);

    // The index of a record that may start now (the first such in the order), marked running;
    // none while every session is busy, while the next records must wait, or when none is left.
    std::optional<int> next();
    // The record at index has ended (whether it succeeded or not).
    void finished(int index);
    // The record at index was started on a session that could not carry it out (it could not
    // connect or log in): it waits again, and keeps its place in the order.
    void giveBack(int index);
    // Fewer sessions than planned (a server that refused more connections); never below 1.
    void setSessions(int sessions);

    int sessions() const { return m_sessions; }
    int running() const { return m_running; }
    bool isDone(int index) const { return m_state.at(index) == State::Done; }
    bool allDone() const { return m_done == m_state.size(); }

    // Whether the record runs side by side with others.
    static bool isTransfer(const QueueRecord &record);

private:
    enum class State { Waiting, Running, Done };
    struct Paths {
        QString remote;
        QString local;
    };
    static Paths pathsOf(const QueueRecord &record);
    bool mayStart(int index) const;

    QList<QueueRecord> m_records;
    QList<Paths> m_paths;
    QList<State> m_state;
    int m_sessions = 1;
    int m_running = 0;
    qsizetype m_done = 0;
    // Every record before this index has ended.
    int m_firstOpen = 0;
};

} // namespace Velmora
