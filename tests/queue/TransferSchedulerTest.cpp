// Which record of a run may start, given what runs and what has ended, when downloads and
// uploads share several sessions. Each case is a run written as a script:
//   "+ 0 1 2"  the runner asks for work until nothing more may start: exactly these indices start
//   "+"        nothing may start now
//   "- 2"      record 2 ends
#include "queue/TransferScheduler.h"

#include <gtest/gtest.h>

using namespace Velmora;

namespace {

struct Case {
    const char *name;
    int sessions;
    std::vector<const char *> records;
    std::vector<const char *> script;
};

QList<int> startAll(TransferScheduler &scheduler)
{
    QList<int> started;
    while (const std::optional<int> index = scheduler.next())
        started.append(*index);
    return started;
}

void play(const Case &c)
{
    QList<QueueRecord> records;
    for (const char *text : c.records)
        records.append(QueueRecord::parse(QString::fromUtf8(text)));
    TransferScheduler scheduler(records, c.sessions);
    for (const char *step : c.script) {
        const QString text = QString::fromLatin1(step);
        QList<int> numbers;
        for (const QString &word : text.mid(1).split(u' ', Qt::SkipEmptyParts))
            numbers.append(word.toInt());
        if (text.startsWith(u'+')) {
            EXPECT_EQ(startAll(scheduler), numbers) << c.name << ", step \"" << step << "\"";
        } else {
            for (int index : numbers)
                scheduler.finished(index);
        }
        EXPECT_LE(scheduler.running(), scheduler.sessions()) << c.name << ", step \"" << step << "\"";
    }
    EXPECT_TRUE(scheduler.allDone()) << c.name;
}

} // namespace

TEST(TransferScheduler, KeepsTheOrderOfWhatMustNotOverlap)
{
    const std::vector<Case> cases = {
        {"one session runs the records one after the other", 1,
         {"RETR|/a|/l/a|4", "RETR|/b|/l/b|4", "DELE|/a"},
         {"+ 0", "- 0", "+ 1", "- 1", "+ 2", "+", "- 2", "+"}},
        {"downloads fill every session, and the next one starts when one ends", 4,
         {"RETR|/1|/l/1|4", "RETR|/2|/l/2|4", "RETR|/3|/l/3|4", "RETR|/4|/l/4|4", "RETR|/5|/l/5|4",
          "RETR|/6|/l/6|4"},
         {"+ 0 1 2 3", "- 2", "+ 4", "+", "- 0 1", "+ 5", "- 3 4 5", "+"}},
        {"uploads into new nested folders wait for the folders, one folder at a time", 4,
         {"MKD|/n", "MKD|/n/m", "STOR|/l/1|/n/1", "STOR|/l/2|/n/m/2", "STOR|/l/3|/n/m/3"},
         {"+ 0", "- 0", "+ 1", "- 1", "+ 2 3 4", "- 2 3 4", "+"}},
        {"a folder made between uploads waits for the uploads before it and holds back those after it", 4,
         {"STOR|/l/1|/1", "STOR|/l/2|/2", "MKD|/n", "STOR|/l/3|/n/3", "STOR|/l/4|/n/4"},
         {"+ 0 1", "- 1", "+", "- 0", "+ 2", "- 2", "+ 3 4", "- 3 4"}},
        {"a tree is deleted file by file and its folders after what is in them", 4,
         {"DELE|/t/s/a", "DELE|/t/s/b", "RMD|/t/s", "DELE|/t/c", "RMD|/t"},
         {"+ 0", "- 0", "+ 1", "- 1", "+ 2", "- 2", "+ 3", "- 3", "+ 4", "- 4"}},
        {"a delete, a change of rights and a rename wait for the transfers before them", 4,
         {"RETR|/a|/l/a|4", "STOR|/l/b|/b", "DELE|/a", "CHMOD|/b|644", "RNFR|/b|/c", "RETR|/d|/l/d|4"},
         {"+ 0 1", "- 0", "+", "- 1", "+ 2", "- 2", "+ 3", "- 3", "+ 4", "- 4", "+ 5", "- 5"}},
        {"two transfers of the same remote file keep their order; others pass them", 3,
         {"STOR|/l/x|/a", "STOR|/l/y|/a", "STOR|/l/z|/b"},
         {"+ 0 2", "- 2", "+", "- 0", "+ 1", "- 1"}},
        {"two downloads to the same local file keep their order", 4,
         {"RETR|/a|/l/x|4", "RETR|/b|/l/x|4", "RETR|/c|/l/y|4"},
         {"+ 0 2", "- 0", "+ 1", "- 1 2"}},
        {"a download and an upload of the same local file keep their order", 4,
         {"RETR|/a|/l/x|4", "STOR|/l/x|/b"},
         {"+ 0", "- 0", "+ 1", "- 1"}},
        {"local folders are made before downloads into them", 2,
         {"MKLOCALDIR|/l/n", "RETR|/n/1|/l/n/1|4", "RETR|/n/2|/l/n/2|4", "RETR|/n/3|/l/n/3|4"},
         {"+ 0", "- 0", "+ 1 2", "- 2", "+ 3", "- 1 3"}},
        {"an unknown record runs alone", 4,
         {"RETR|/a|/l/a|4", "SITE|x", "RETR|/b|/l/b|4"},
         {"+ 0", "- 0", "+ 1", "- 1", "+ 2", "- 2"}},
        {"a finished record reported twice counts once", 2,
         {"RETR|/a|/l/a|4", "RETR|/b|/l/b|4", "RETR|/c|/l/c|4"},
         {"+ 0 1", "- 0", "- 0", "+ 2", "+", "- 1 2"}},
    };
    for (const Case &c : cases)
        play(c);
}

TEST(TransferScheduler, GoesOnWithTheSessionsItGotWhenTheServerRefusesMore)
{
    QList<QueueRecord> records;
    for (int i = 0; i < 6; ++i)
        records.append(QueueRecord::parse(QStringLiteral("RETR|/%1|/l/%1|4").arg(i)));
    TransferScheduler scheduler(records, 4);
    EXPECT_EQ(startAll(scheduler), (QList<int>{0, 1, 2, 3}));
    // The third and fourth sessions could not log in: their records wait again, in their
    // places, and the run goes on with two sessions.
    scheduler.giveBack(2);
    scheduler.giveBack(3);
    scheduler.setSessions(2);
    EXPECT_EQ(scheduler.running(), 2);
    EXPECT_EQ(startAll(scheduler), (QList<int>{}));
    scheduler.finished(1);
    EXPECT_EQ(startAll(scheduler), (QList<int>{2}));
    scheduler.finished(0);
    EXPECT_EQ(startAll(scheduler), (QList<int>{3}));
    scheduler.finished(2);
    scheduler.finished(3);
    EXPECT_EQ(startAll(scheduler), (QList<int>{4, 5}));
    scheduler.finished(4);
    scheduler.finished(5);
    EXPECT_TRUE(scheduler.allDone());
    scheduler.setSessions(0);
    EXPECT_EQ(scheduler.sessions(), 1) << "a run keeps at least the session it started with";
}
