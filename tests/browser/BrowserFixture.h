#pragma once

#include "AppFixture.h"
#include "QtPrinters.h"

#include "browser/BrowserController.h"
#include "browser/DriveListWidget.h"
#include "browser/FileGridColumns.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "browser/LocalBrowser.h"
#include "browser/ServerBrowser.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <utime.h>

namespace Velmora::Testing {

// The whole program started offscreen in a temporary profile, with a folder tree to browse.
class BrowserFixture : public AppFixture {
protected:
    void SetUp() override
    {
        existingProfile();
        ASSERT_TRUE(start());
        ASSERT_NE(browser(), nullptr);
    }

    BrowserController *browser() { return &starter->browser(); }
    FileGridPane &pane(BrowserSide side) { return browser()->pane(side); }
    FileGridPane &localPane() { return pane(BrowserSide::Local); }
    FileGridView *localGrid() { return localPane().view(); }
    LocalBrowser &local() { return browser()->local(); }

    // A folder below the test's root (created), ending with "/".
    QString folder(const QString &relative)
    {
        const QString path = env.root() + relative + u'/';
        QDir().mkpath(path);
        return path;
    }
    // A file with content and a modification time given in seconds since the epoch.
    QString file(const QString &relative, const QByteArray &content, qint64 modified = 1700000000)
    {
        const QString path = env.writeFile(relative, content);
        QFile f(path);
        if (f.open(QIODevice::ReadWrite))
            f.setFileTime(QDateTime::fromSecsSinceEpoch(modified), QFileDevice::FileModificationTime);
        return path;
    }

    // Sets a folder's (or file's) modification time.
    static void setModified(const QString &path, qint64 seconds)
    {
        const utimbuf times{time_t(seconds), time_t(seconds)};
        ::utime(QFile::encodeName(path).constData(), &times);
    }

    QStringList names(BrowserSide side = BrowserSide::Local)
    {
        QStringList out;
        const FileGridModel &model = pane(side).model();
        for (int row = 0; row < model.rowCount(); ++row)
            out << model.nameAt(row);
        return out;
    }
    QString cell(int row, int column, BrowserSide side = BrowserSide::Local)
    {
        return pane(side).model().cellText(row, column);
    }
    int currentRow(BrowserSide side = BrowserSide::Local) { return pane(side).view()->currentIndex().row(); }
    QString currentName(BrowserSide side = BrowserSide::Local) { return pane(side).model().nameAt(currentRow(side)); }
    QList<int> selectedRows(BrowserSide side = BrowserSide::Local) { return pane(side).selectedRows(); }
    QString status(BrowserSide side = BrowserSide::Local) { return pane(side).statusLabel()->text(); }
    QString pathText(BrowserSide side = BrowserSide::Local) { return pane(side).pathBox()->currentText(); }
    QStringList history(BrowserSide side = BrowserSide::Local)
    {
        QStringList out;
        QComboBox *box = pane(side).pathBox();
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
    int rowOf(const QString &name, BrowserSide side = BrowserSide::Local) { return int(names(side).indexOf(name)); }

    // A double click on the row's name cell, as the user makes it.
    void doubleClickRow(int row, BrowserSide side = BrowserSide::Local)
    {
        FileGridView *view = pane(side).view();
        view->scrollTo(view->model()->index(row, FileGridColumns::Name));
        const QRect rect = view->visualRect(view->model()->index(row, FileGridColumns::Name));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }
    // A double click on a column's header.
    void doubleClickHeader(int column, BrowserSide side = BrowserSide::Local)
    {
        QHeaderView *header = pane(side).view()->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
        QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    // Types into a path box and presses Enter there.
    void enterPath(const QString &text, BrowserSide side = BrowserSide::Local)
    {
        QComboBox *box = pane(side).pathBox();
        box->setEditText(text);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    }
};

} // namespace Velmora::Testing
