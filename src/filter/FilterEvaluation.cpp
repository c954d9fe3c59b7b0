#include "FilterEvaluation.h"

#include "FilterItemTexts.h"
#include "common/ListingEntry.h"
#include "common/QueueRecord.h"

#include <cmath>

namespace Velmora {

namespace {

bool isFilteredCommand(QStringView command)
{
    return command == u"RETR" || command == u"STOR" || command == u"DELE" || command == u"RMD" || command == u"DELLOC";
}

// The facts of one record the tests look at; those no test needs stay empty.
struct RecordFacts {
    QString name;   // lower-cased
    QString head;   // lower-cased
    QString date;   // normalised, lower-cased
    QStringView ext;
    QStringView size;
};

bool inPlace(const FilterWords &words, int place, const RecordFacts &facts)
{
    switch (place) {
    case FilterCriteria::InFilename:
        return words.anyOccursIn(facts.name);
    case FilterCriteria::InDirectoryAndFilename:
        return words.anyOccursIn(facts.head);
    default:
        return words.anyMatchesDate(facts.date);
    }
}

} // namespace

FilterEvaluation::FilterEvaluation(PreparedFilter filter, QStringList queueList)
    : m_filter(std::move(filter))
    , m_queueList(std::move(queueList))
{
    m_filtered.reserve(m_queueList.size());
}

bool FilterEvaluation::passes(const PreparedFilter &f, QStringView record, bool *dateUnreadable)
{
    if (!isFilteredCommand(WordView(record, 1, u'|').trimmed()))
        return true;

    // head § entry; the entry's fields kind|name|size|date|...
    const QueueRecord::Parts parts = QueueRecord::split(record);
    const QStringView head = parts.command;
    const ListingEntry::Fields fields = ListingEntry::fieldsOf(parts.entry);
    const bool isFile = fields.kind.trimmed() == u"1";

    // The texts keep their memory from record to record.
    thread_local RecordFacts facts;
    facts.name.resize(0);
    facts.ext = {};
    if (f.needsName && isFile) {
        LowerAsciiInto(fields.name, facts.name);
        const qsizetype dot = facts.name.lastIndexOf(u'.');
        if (dot >= 0)
            facts.ext = QStringView(facts.name).mid(dot);
    }
    if (f.needsHead)
        LowerAsciiInto(head, facts.head);
    if (f.needsDate) {
        NormaliseDateInto(fields.date, facts.date);
        LowerAsciiInto(facts.date, facts.date);
    }
    facts.size = isFile ? fields.size : QStringView(NonFileSize);

    const bool t = f.allFiles || (f.termTakesPart && inPlace(f.termWords, f.termPlace, facts));
    bool h = t;
    if (f.withoutTakesPart) {
        const bool w = !inPlace(f.withoutWords, f.withoutPlace, facts);
        h = f.termTakesPart ? (t && w) : w;
    }

    if (f.dateTakesPart) {
        bool d = false;
        switch (f.dateTest) {
        case FilterCriteria::AllWithDate:
        case FilterCriteria::WithoutSpecifiedDate: {
            // A date that names a day is compared as a day: "12/10/2026" from the picker and a
            // listing's "10.12.2026 09:30" are the same day. Other texts ("2026") are looked for
            // in the date text.
            const QDate day = f.filterDay.isValid() ? ReadDay(facts.date) : QDate();
            const bool on = day.isValid() ? day == f.filterDay : f.dateWords.anyOccursIn(facts.date);
            d = f.dateTest == FilterCriteria::AllWithDate ? on : !on;
            break;
        }
        default: {
            const QDate day = ReadDay(facts.date);
            if (!day.isValid() && dateUnreadable && !facts.date.trimmed().isEmpty())
                *dateUnreadable = true;
            if (day.isValid() && f.filterDay.isValid())
                d = f.dateTest == FilterCriteria::DateSince ? day >= f.filterDay : day < f.filterDay;
            break;
        }
        }
        h = f.andDate ? (h && d) : (h || d);
    }

    if (f.extensionTakesPart) {
        const bool any = f.extensionWords.anyOccursIn(facts.ext);
        const bool e = f.extensionTest == FilterCriteria::AllWithExtension ? any : !any;
        h = f.andExtension ? (h && e) : (h || e);
    }

    if (f.sizeTakesPart) {
        bool ok = false;
        const qint64 size = facts.size.trimmed().toLongLong(&ok);
        const auto comparison = f.sizeTest == FilterCriteria::SizeLess ? SizeComparison::Less
            : f.sizeTest == FilterCriteria::SizeGreaterOrEqual         ? SizeComparison::GreaterOrEqual
                                                                       : SizeComparison::Equal;
        const bool s = ok && SizeMatchesLimits(f.sizeLimits, size, comparison);
        h = f.andFileSize ? (h && s) : (h || s);
    }
    return h;
}

bool FilterEvaluation::step(qsizetype maxRecords)
{
    const qsizetype end = std::min(m_queueList.size(), m_position + std::max<qsizetype>(maxRecords, 1));
    for (; m_position < end; ++m_position) {
        const QString &record = m_queueList.at(m_position);
        bool unreadable = false;
        if (passes(m_filter, record, &unreadable))
            m_filtered.append(record);
        if (unreadable && m_unreadableDates++ == 0)
            m_firstUnreadable = record;
    }
    return isFinished();
}

void FilterEvaluation::run()
{
    step(m_queueList.size() - m_position);
}

int FilterEvaluation::percentDone() const
{
    if (m_queueList.isEmpty())
        return 100;
    return int(std::lround(double(m_position) / double(m_queueList.size()) * 100.0));
}

QString FilterEvaluation::progressText() const
{
    return QStringLiteral("Set filters: ") + QString::number(percentDone()) + u'%';
}

QList<FilterMessage> FilterEvaluation::notes() const
{
    QList<FilterMessage> result = m_filter.notes;
    if (m_unreadableDates > 0) {
        const QStringView entry = QueueRecord::split(m_firstUnreadable).entry;
        const QString path = RecordText::printable(WordView(m_firstUnreadable, 2, u'|').trimmed().toString());
        const QString date = RecordText::printable(ListingEntry::fieldsOf(entry).date.trimmed().toString());
        const QString count = QString::number(m_unreadableDates);
        result.append(
            {QStringLiteral("Filter: ") + count + QStringLiteral(" record(s) with a date that cannot be read (the first: ")
                 + path + QStringLiteral(" with \"") + date + QStringLiteral("\") do not match \"")
                 + FilterItemTexts::item(FilterItemTexts::dateTests(Language::English), m_filter.dateTest)
                 + QStringLiteral("\"."),
             QStringLiteral("Filter: ") + count
                 + QStringLiteral(" Eintrag/Einträge mit einem Datum, das nicht gelesen werden kann (der erste: ") + path
                 + QStringLiteral(" mit \"") + date + QStringLiteral("\"), erfüllen \"")
                 + FilterItemTexts::item(FilterItemTexts::dateTests(Language::German), m_filter.dateTest)
                 + QStringLiteral("\" nicht.")});
    }
    return result;
}

QStringList EvaluateFilter(FilterCriteria &criteria, bool searchesInFiles, const QStringList &queueList,
                           QList<FilterMessage> *notes)
{
    FilterEvaluation evaluation(PrepareFilter(criteria, searchesInFiles), queueList);
    evaluation.run();
    if (notes)
        *notes = evaluation.notes();
    return evaluation.filteredList();
}

} // namespace Velmora
