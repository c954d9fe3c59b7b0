// The filtered queue without a window: a row's cells, the summary, the rows' ticks and sizes,
// the file "Goto selected file" leads to, and the records of a search's second step.
#include "filter/FilterGridModel.h"
#include "filter/FilterRow.h"
#include "filter/FilterSearchStep.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace Velmora;

namespace {

QString s(const char16_t *text)
{
    return QString::fromUtf16(text);
}

const char16_t *Retr = u"RETR|/www/index.php|/home/u/site/www/index.php\u00A71|index.php|1234|20.05.2010 23:59|-rw-r--r--|ftp ftp";
const char16_t *Stor = u"STOR|/home/u/site/a.txt|/www/a.txt\u00A71|a.txt|1000|05/21/2010 10:16:40";
const char16_t *Rmd = u"RMD|/www/old\u00A70|old|0|20.05.2010 10:00";
const char16_t *Mkd = u"MKD|/www/img";
const char16_t *Odd = u"DELE|/www/x\u00A71|x|12ab|";

} // namespace

TEST(FilterRow, CellsComeFromTheCommandAndTheEntryPart)
{
    struct Case {
        const char16_t *record;
        FilterRow row;
    };
    const Case cases[] = {
        {Retr, {s(u"/www/index.php"), s(u"RETR"), s(u"/home/u/site/www/index.php"), s(u"1234"), s(u"20.05.2010 23:59")}},
        {Stor, {s(u"/home/u/site/a.txt"), s(u"STOR"), s(u"/www/a.txt"), s(u"1000"), s(u"05/21/2010 10:16:40")}},
        {Rmd, {s(u"/www/old"), s(u"RMD"), QString(), s(u"0"), s(u"20.05.2010 10:00")}},
        {Mkd, {s(u"/www/img"), s(u"MKD"), QString(), QString(), QString()}},
        {u"", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FilterRowFromRecord(s(c.record)), c.row) << QString::fromUtf16(c.record).toStdString();
}

TEST(FilterRow, GotoLeadsToTheRemoteFileExceptForUploads)
{
    const ChosenFile download = ChosenFileOf(FilterRowFromRecord(s(Retr)));
    EXPECT_EQ(download.remote, s(u"/www/index.php"));
    EXPECT_EQ(download.local, s(u"/home/u/site/www/index.php"));
    EXPECT_EQ(download.asked, download.remote);
    const ChosenFile upload = ChosenFileOf(FilterRowFromRecord(s(Stor)));
    EXPECT_EQ(upload.local, s(u"/home/u/site/a.txt"));
    EXPECT_EQ(upload.remote, s(u"/www/a.txt"));
    EXPECT_EQ(upload.asked, upload.local);
}

TEST(FilterRow, SummaryNamesRowsAndBytesInBothLanguages)
{
    EXPECT_EQ(FilteredQueueSummary(3, 1234567, Language::English), s(u"Filtered queue - 3 Files - 1.234.567 bytes"));
    EXPECT_EQ(FilteredQueueSummary(0, 0, Language::English), s(u"Filtered queue - 0 Files - 0 bytes"));
    EXPECT_EQ(FilteredQueueSummary(2, 999, Language::German), s(u"Gefilterte Dateien - 2 Dateien - 999 bytes"));
}

TEST(FilterGridModel, RowsAreTickedWhenMadeAndShowTheirCells)
{
    FilterGridModel model;
    model.setDateDisplay([](const QString &date) -> QString { return u'<' + date + u'>'; });
    model.setRecords({s(Retr), s(Mkd), s(Stor)});
    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(model.columnCount(), 6);
    const QStringList captions = {QString(), s(u"Server / Local File:"), s(u"Cmd:"), s(u"Remote File:"), s(u"Size:"),
                                  s(u"Date:")};
    for (int column = 0; column < 6; ++column)
        EXPECT_EQ(model.headerData(column, Qt::Horizontal).toString(), captions[column]);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(model.data(model.index(row, 0), Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), s(u"/www/index.php"));
    EXPECT_EQ(model.data(model.index(2, 2)).toString(), s(u"STOR"));
    EXPECT_EQ(model.data(model.index(0, 5)).toString(), s(u"<20.05.2010 23:59>"));
    EXPECT_EQ(model.data(model.index(0, 5), Qt::EditRole).toString(), s(u"20.05.2010 23:59"));

    // Unticking through the grid's check box, then all, then all again.
    EXPECT_TRUE(model.setData(model.index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
    ASSERT_EQ(model.tickedRows().size(), 2);
    EXPECT_EQ(model.tickedRows().at(1).cmd, s(u"STOR"));
    model.setAllTicked(false);
    EXPECT_TRUE(model.tickedRows().isEmpty());
    model.setAllTicked(true);
    EXPECT_EQ(model.tickedRows().size(), 3);
    model.setRecords({s(Rmd)});
    EXPECT_EQ(model.tickedRows().size(), 1) << "a new filtered list is ticked again";
}

TEST(FilterGridModel, SizeSumSkipsSizesThatAreNoNumbers)
{
    FilterGridModel model;
    model.setRecords({s(Retr), s(Mkd), s(Odd), s(Stor), s(u"RETR|/big|/l/big\u00A71|big|3000000000|")});
    EXPECT_EQ(model.sizeSum(0, model.rowCount()), 1234 + 1000 + 3000000000LL);
    EXPECT_EQ(model.sizeSum(1, 3), 0);
    EXPECT_EQ(model.sizeSum(0, 100), model.sizeSum(0, 5));
}

TEST(FilterSearchStep, OnlyTextFilesMoveIntoTheWorkingFolder)
{
    const QString box = s(u"/home/u/site");
    const QString download = s(u"/tmp/v/download/");
    const QList<FilterRow> rows = {
        FilterRowFromRecord(s(Retr)),
        FilterRowFromRecord(s(u"RETR|/www/logo.png|/home/u/site/www/logo.png\u00A71|logo.png|10|20.05.2010 10:00")),
        FilterRowFromRecord(s(u"RETR|/www/a.docx|/home/u/site/a.docx\u00A71|a.docx|10|20.05.2010 10:00")),
        FilterRowFromRecord(s(u"RETR|/www/b.form|/home/u/site/b.form\u00A71|b.form|10|20.05.2010 10:00")),
        FilterRowFromRecord(s(u"RETR|/www/README|/home/u/site/README\u00A71|README|7|20.05.2010 10:00")),
        FilterRowFromRecord(s(Stor)),
        FilterRowFromRecord(s(u"STOR|/home/u/site/p.JPG|/www/p.JPG\u00A71|p.JPG|5|")),
        FilterRowFromRecord(s(u"DELE|/www/x.txt\u00A71|x.txt|3|")),
        FilterRowFromRecord(s(Rmd)),
        FilterRowFromRecord(s(Mkd)),
    };
    const SearchStepRecords step = BuildSearchStepRecords(rows, box, download);
    // The local path box's folder is replaced at the start of a download's local path; the
    // record's file name is the local one.
    EXPECT_EQ(step.queueList,
              QStringList({s(u"RETR|/www/index.php|/tmp/v/download/www/index.php\u00A71|index.php|1234|20.05.2010 23:59"),
                           s(u"RETR|/www/README|/tmp/v/download/README\u00A71|README|7|20.05.2010 10:00"),
                           s(u"STOR|/home/u/site/a.txt|/www/a.txt\u00A71|a.txt|1000|05/21/2010 10:16:40"),
                           s(u"DELE|/www/x.txt"), s(u"RMD|/www/old")}));
    EXPECT_EQ(step.searchQueueLines,
              QStringList({s(u"RETR|/www/index.php|/home/u/site/www/index.php\u00A71|index.php|1234|20.05.2010 23:59"),
                           s(u"RETR|/www/README|/home/u/site/README\u00A71|README|7|20.05.2010 10:00"),
                           s(u"STOR|/home/u/site/a.txt|/www/a.txt\u00A71|a.txt|1000|05/21/2010 10:16:40"),
                           s(u"DELE|/www/x.txt"), s(u"RMD|/www/old")}));

    // An empty local path box moves nothing.
    const SearchStepRecords unmoved = BuildSearchStepRecords({rows.first()}, QString(), download);
    EXPECT_EQ(unmoved.queueList, QStringList({s(Retr).section(s(u"|-rw"), 0, 0)}));
    EXPECT_EQ(unmoved.searchQueueLines, unmoved.queueList);
}

// Only the folder of the local path box at the start of a path moves, whatever the box holds:
// with "/" every separator of the path used to be replaced.
TEST(FilterSearchStep, OnlyTheLocalFoldersPrefixMovesIntoTheWorkingFolder)
{
    struct Case {
        const char16_t *box;
        const char16_t *local;
        const char16_t *working;
    };
    const QString download = s(u"/tmp/v/download/");
    for (const Case &c : {Case{u"/", u"/www/tmp/a.txt", u"/tmp/v/download/www/tmp/a.txt"},
                          Case{u"/home/u/", u"/home/u/www/a.txt", u"/tmp/v/download/www/a.txt"},
                          Case{u"/home/u", u"/home/u/www/a.txt", u"/tmp/v/download/www/a.txt"},
                          Case{u"/home/u/", u"/home/u2/a.txt", u"/home/u2/a.txt"},
                          Case{u"/home/u/", u"/home/U/a.txt", u"/home/U/a.txt"},
                          Case{u"/x/", u"/y/x/a.txt", u"/y/x/a.txt"}}) {
        SCOPED_TRACE(QString::fromUtf16(c.box).toStdString() + " " + QString::fromUtf16(c.local).toStdString());
        EXPECT_EQ(IntoWorkingFolder(s(c.local), s(c.box), download), s(c.working));
        const QString tail = s(u"\u00A71|a.txt|3|20.05.2010 10:00");
        const QString record = s(u"RETR|/www/tmp/a.txt|") + s(c.local) + tail;
        const SearchStepRecords step = BuildSearchStepRecords({FilterRowFromRecord(record)}, s(c.box), download);
        EXPECT_EQ(step.queueList, QStringList{s(u"RETR|/www/tmp/a.txt|") + s(c.working) + tail});
        EXPECT_EQ(step.searchQueueLines, QStringList{record});
    }
    // A local search keeps the remote path of its records, however many "/" it has.
    const QString stor = s(u"STOR|/home/a.txt|/www/tmp/a.txt\u00A71|a.txt|3|20.05.2010 10:00");
    EXPECT_EQ(BuildSearchStepRecords({FilterRowFromRecord(stor)}, s(u"/"), download).queueList, QStringList{stor});
}
