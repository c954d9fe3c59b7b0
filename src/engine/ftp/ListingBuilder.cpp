#include "ListingBuilder.h"

#include "ListingLine.h"
#include "ListingRecord.h"

#include <QCollator>
#include <QSet>

#include <algorithm>
#include <future>
#include <numeric>

namespace Velmora {

namespace {

// Long listings are worked on in two halves, one of them on a second thread.
constexpr qsizetype ParallelFrom = 20000;

struct PassOutcome {
    QStringList records;
    QStringList refused;
    QStringList log;
    bool sawBlank = false;

    void append(PassOutcome &&other)
    {
        records.append(std::move(other.records));
        refused.append(std::move(other.refused));
        log.append(std::move(other.log));
        sawBlank = sawBlank || other.sawBlank;
    }
};

PassOutcome readLines(const ListingPass &pass, qsizetype from, qsizetype to, bool keepLog, const QString &todayText)
{
    PassOutcome out;
    if (keepLog)
        out.log.reserve(to - from);
    out.records.reserve(to - from);
    for (qsizetype i = from; i < to; ++i) {
        const QString line = ConvertMsDosLine(pass.lines[i]);
        if (keepLog)
            out.log.append(line);
        if (line.trimmed().isEmpty()) {
            out.sawBlank = true;
            continue;
        }
        if (IsListingSummaryLine(line))
            continue;
        const QDateTime date = i < pass.dates.size() ? pass.dates[i] : QDateTime();
        ListingRecordResult built = BuildListingRecord(line, date, todayText);
        if (built.outcome == ListingRecordResult::Record)
            out.records.append(std::move(built.record));
        else if (built.outcome == ListingRecordResult::Refused)
            out.refused.append(built.name);
    }
    return out;
}

PassOutcome readPass(const ListingPass &pass, bool keepLog, const QString &todayText)
{
    const qsizetype n = pass.lines.size();
    if (n < ParallelFrom)
        return readLines(pass, 0, n, keepLog, todayText);
    auto upper = std::async(std::launch::async, readLines, std::cref(pass), n / 2, n, keepLog, std::cref(todayText));
    PassOutcome out = readLines(pass, 0, n / 2, keepLog, todayText);
    out.append(upper.get());
    return out;
}

// The records in the order of a case-insensitive, locale-aware sort (stable), and where a new
// run of equal keys begins. Runs of equal keys hold the records that are equal without regard
// to case (and rarely others that the locale does not tell apart).
struct SortedRecords {
    std::vector<qsizetype> order;
    std::vector<bool> newKey; // per position in order: its key differs from the one before
};

// Computes keys for the records in two halves, the upper one on a second thread.
template <typename Key, typename MakeKey>
std::vector<Key> makeKeys(const QStringList &records, const MakeKey &makeKey)
{
    const qsizetype n = records.size();
    const auto range = [&records, &makeKey](qsizetype from, qsizetype to) {
        std::vector<Key> keys;
        keys.reserve(to - from);
        for (qsizetype i = from; i < to; ++i)
            keys.push_back(makeKey(records[i], from == 0));
        return keys;
    };
    if (n < ParallelFrom)
        return range(0, n);
    auto upper = std::async(std::launch::async, range, n / 2, n);
    std::vector<Key> keys = range(0, n / 2);
    std::vector<Key> rest = upper.get();
    keys.insert(keys.end(), std::make_move_iterator(rest.begin()), std::make_move_iterator(rest.end()));
    return keys;
}

template <typename Key, typename Less, typename Equal>
SortedRecords sortByKeys(const std::vector<Key> &keys, const Less &less, const Equal &equal)
{
    SortedRecords sorted;
    sorted.order.resize(keys.size());
    std::iota(sorted.order.begin(), sorted.order.end(), 0);
    std::stable_sort(sorted.order.begin(), sorted.order.end(),
                     [&](qsizetype a, qsizetype b) { return less(keys[a], keys[b]); });
    sorted.newKey.resize(keys.size());
    for (qsizetype i = 0; i < qsizetype(keys.size()); ++i)
        sorted.newKey[i] = i == 0 || !equal(keys[sorted.order[i - 1]], keys[sorted.order[i]]);
    return sorted;
}

SortedRecords sortRecords(const QStringList &records, const QCollator *collator)
{
    QCollator own;
    if (!collator) {
        own.setCaseSensitivity(Qt::CaseInsensitive);
        collator = &own;
    }
    if (collator->locale().language() == QLocale::C) {
        // The C locale orders by character codes, and its collator keys ignore the case
        // setting: the case-folded texts are the keys.
        const auto keys = makeKeys<QString>(records, [](const QString &r, bool) { return r.toCaseFolded(); });
        return sortByKeys(keys, std::less<QString>(), std::equal_to<QString>());
    }
    // A collator is not to be shared between threads: the second half gets its own copy.
    const QCollator second = *collator;
    const auto keys = makeKeys<QCollatorSortKey>(records, [collator, &second](const QString &r, bool lower) {
        return (lower ? *collator : second).sortKey(r);
    });
    return sortByKeys(
        keys, [](const QCollatorSortKey &a, const QCollatorSortKey &b) { return a.compare(b) < 0; },
        [](const QCollatorSortKey &a, const QCollatorSortKey &b) { return a.compare(b) == 0; });
}

} // namespace

void SortListingRecords(QStringList &records, const QCollator *collator)
{
    const SortedRecords sorted = sortRecords(records, collator);
    QStringList out;
    out.reserve(records.size());
    for (qsizetype index : sorted.order)
        out.append(std::move(records[index]));
    records = std::move(out);
}

ListingResult BuildListing(const ListingPass &first, const ListingPass &second, const QString &todayText,
                           bool keepLogs, const QCollator *collator)
{
    ListingResult result;
    PassOutcome one = first.refused ? PassOutcome() : readPass(first, keepLogs, todayText);
    PassOutcome two = readPass(second, keepLogs, todayText);
    result.firstPassVoid = first.refused || one.sawBlank;
    result.firstPassLog = std::move(one.log);
    result.secondPassLog = std::move(two.log);

    QStringList all;
    if (!result.firstPassVoid) {
        all = std::move(one.records);
        result.refusedNames = std::move(one.refused);
    }
    all.append(std::move(two.records));
    for (const QString &name : std::as_const(two.refused)) {
        if (!result.refusedNames.contains(name))
            result.refusedNames.append(name);
    }

    const SortedRecords sorted = sortRecords(all, collator);
    if (keepLogs) {
        result.completeLog.reserve(all.size());
        for (qsizetype index : sorted.order)
            result.completeLog.append(all[index]);
    }
    // The two passes give byte-identical lines for an entry they both list, so a duplicate is
    // an exactly equal record: two files whose names differ only in case are two entries on a
    // server that tells them apart. Equal records have equal keys, so they stand together in
    // the sorted order: each is compared only with the run of equal keys it belongs to.
    result.records.reserve(all.size());
    QList<qsizetype> run;
    QSet<QString> largeRun; // for a long run of names the locale does not tell apart
    for (qsizetype i = 0; i < qsizetype(sorted.order.size()); ++i) {
        const qsizetype index = sorted.order[i];
        if (sorted.newKey[i]) {
            run.clear();
            largeRun.clear();
        }
        bool duplicate = false;
        if (run.size() < 16) {
            for (qsizetype j : std::as_const(run))
                duplicate = duplicate || all[j] == all[index];
            run.append(index);
            if (run.size() == 16) {
                for (qsizetype j : std::as_const(run))
                    largeRun.insert(all[j]);
            }
        } else {
            duplicate = largeRun.contains(all[index]);
            largeRun.insert(all[index]);
        }
        if (!duplicate)
            result.records.append(all[index]);
    }
    return result;
}

} // namespace Velmora
