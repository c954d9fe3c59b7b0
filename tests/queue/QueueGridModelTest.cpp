// The queue grid's model: removals by a run are shown in batches, everything else at once, and
// both models stay consistent for their views throughout.
#include "queue/QueueGridModel.h"
#include "queue/QueueTableModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Velmora;

namespace {

QueueRow row(int i)
{
    return {QStringLiteral("/f%1").arg(i), QStringLiteral("RETR"), QStringLiteral("/l/f%1").arg(i), QString::number(i),
            QStringLiteral("01.02.2003")};
}

QStringList shownSources(const QAbstractItemModel &model)
{
    QStringList sources;
    for (int r = 0; r < model.rowCount(); ++r)
        sources << model.index(r, 0).data().toString();
    return sources;
}

} // namespace

TEST(QueueGridModel, ShowsARunsRemovalsInBatchesAndEverythingElseAtOnce)
{
    QueueTableModel source;
    QueueGridModel grid(source);
    QAbstractItemModelTester sourceTester(&source, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QAbstractItemModelTester gridTester(&grid, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const quint64 first = source.appendRows({row(0), row(1), row(2), row(3), row(4), row(5)});
    EXPECT_EQ(grid.rowCount(), 6);

    source.removeRowById(first + 5);
    EXPECT_EQ(grid.rowCount(), 5) << "outside a run a removal is shown at once";
    source.appendRow(row(5));
    grid.setBatchRemovals(true);
    QSignalSpy removals(&grid, &QAbstractItemModel::rowsRemoved);
    source.removeRowById(first + 1);
    source.removeRowById(first + 2);
    source.removeRowById(first + 4);
    EXPECT_EQ(grid.rowCount(), 6) << "not shown yet";
    EXPECT_TRUE(grid.flushTimer().isActive());
    QMetaObject::invokeMethod(&grid.flushTimer(), "timeout", Qt::DirectConnection);
    EXPECT_EQ(removals.size(), 2) << "rows 1-2 in one step, row 4 in another";
    EXPECT_EQ(shownSources(grid), shownSources(source));

    // A change that is not a removal first shows what is pending.
    source.removeRowById(first + 0);
    source.appendRow(row(6));
    EXPECT_EQ(shownSources(grid), (QStringList{QStringLiteral("/f3"), QStringLiteral("/f5"), QStringLiteral("/f6")}));
    EXPECT_EQ(grid.idAt(1), first + 6);
    source.setGermanDates(true);
    EXPECT_EQ(grid.index(0, QueueTableModel::DateColumn).data().toString(), QStringLiteral("01.02.2003 00:00:00"));
    source.removeRowById(first + 6);
    grid.setBatchRemovals(false);
    EXPECT_EQ(shownSources(grid), shownSources(source)) << "the end of a run shows everything";
    source.clear();
    EXPECT_EQ(grid.rowCount(), 0);
}
