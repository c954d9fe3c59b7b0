#pragma once

#include "FilterMessage.h"
#include "FilterPreparation.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace Velmora {

// One evaluation of prepared criteria over a queue list. It never changes the queue list; it
// builds the filtered list: the records that pass, in queue-list order. Records with commands
// other than "RETR", "STOR", "DELE", "RMD" and "DELLOC" pass untested.
//
// The work can be done in one go (run) or in chunks (step), so that a window can show the
// progress text and let pending events through between chunks instead of after every record.
// A window opened only to edit the criteria makes no evaluation: it prepares and describes them.
class FilterEvaluation {
public:
    // Records per step that keep a window responsive: a few milliseconds of work.
    static constexpr qsizetype SuggestedChunk = 4096;

    FilterEvaluation(PreparedFilter filter, QStringList queueList);

    // Evaluates up to maxRecords further records; true when every record is done.
    bool step(qsizetype maxRecords);
    void run();

    bool isFinished() const { return m_position >= m_queueList.size(); }
    qsizetype position() const { return m_position; }
    qsizetype total() const { return m_queueList.size(); }
    // The next record's position as a share of all records: position / total x 100, rounded.
    int percentDone() const;
    // "Set filters: 42%", the progress label's text while the evaluation runs.
    QString progressText() const;

    const QStringList &filteredList() const { return m_filtered; }
    const PreparedFilter &filter() const { return m_filter; }
    // The preparation's notes and, once finished, one about records whose date cannot be read:
    // the protocol lines of this evaluation. They never stop it.
    QList<FilterMessage> notes() const;

    // Whether one record passes. dateUnreadable (when given) is set when the record's date was
    // needed for "Date since" or "Date before" and could not be read (the record then fails
    // the date test); an empty date is not unreadable, it simply matches no day.
    static bool passes(const PreparedFilter &filter, QStringView record, bool *dateUnreadable = nullptr);

private:
    PreparedFilter m_filter;
    QStringList m_queueList;
    QStringList m_filtered;
    qsizetype m_position = 0;
    qsizetype m_unreadableDates = 0;
    QString m_firstUnreadable;
};

// The evaluation in one go, for callers that need no progress: prepares criteria (changing them
// as PrepareFilter does) and returns the filtered list; notes (when given) receives the protocol
// lines.
QStringList EvaluateFilter(FilterCriteria &criteria, bool searchesInFiles, const QStringList &queueList,
                           QList<FilterMessage> *notes = nullptr);

} // namespace Velmora
