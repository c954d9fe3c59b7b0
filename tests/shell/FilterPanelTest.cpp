// The transfer filter in the main window: the panel's switch with its LED, background, menu
// check mark and option, "Edit Filter [F2]", the description label, the search buttons of the
// active side, and a download from pyftpdlib that passes through the filter window.
#include "AppFixture.h"
#include "FtpTestServer.h"
#include "WhenShown.h"
#include "QtPrinters.h"

#include "app/DialogHeader.h"
#include "app/Options.h"
#include "browser/BrowserController.h"
#include "browser/FileGridColumns.h"
#include "browser/FileGridModel.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "engine/MasterFTP.h"
#include "filter/FilterDatePicker.h"
#include "filter/FilterForm.h"
#include "filter/FilterGridModel.h"
#include "filter/NoWizardFilterFile.h"
#include "queue/QueueRunner.h"
#include "queue/QueueTableModel.h"
#include "shell/FilterWiring.h"
#include "shell/QueueWiring.h"

#include <QAction>
#include <QComboBox>
#include <QLocale>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QString s(const char16_t *text)
{
    return QString::fromUtf16(text);
}

void fireTimer(FilterForm &form)
{
    QMetaObject::invokeMethod(&form.evaluationTimer(), "timeout", Qt::DirectConnection);
}

class FilterPanel : public AppFixture {
protected:
    void SetUp() override { existingProfile(); }
    void startProgram()
    {
        ASSERT_TRUE(start());
        main().siteManagerTimer().stop();
        prompts.clear();
    }
    FilterForm &form() { return *starter->dialogs().filter; }
    FilterWiring &filter() { return starter->filter(); }
    bool optionFilterOn()
    {
        return Options::parse(QString::fromLatin1(TestEnvironment::readFile(env.appDataFolder() + s(u"options.ini")))).filterOn;
    }
    // The colour at the middle of the switch's LED picture.
    QColor ledColour() { return w().filterOnOffButton->icon().pixmap(16, 16).toImage().pixelColor(8, 8); }
};

TEST_F(FilterPanel, TheSwitchShowsItsStateWithLedBackgroundAndMenu)
{
    startProgram();
    QPushButton *onOff = w().filterOnOffButton;
    EXPECT_EQ(onOff->objectName(), s(u"ONOFFBitBtn"));
    EXPECT_EQ(w().filterPanel->height(), 62);
    EXPECT_EQ(onOff->text(), s(u"Transfer filter off"));
    EXPECT_FALSE(main().filterState());
    EXPECT_FALSE(w().transferFilterOnAction->isChecked());
    EXPECT_EQ(w().transferFilterOnAction->objectName(), s(u"TransferFilterOn1"));
    EXPECT_TRUE(filter().offBackground()->isVisibleTo(w().filterPanel));
    EXPECT_FALSE(filter().onBackground()->isVisibleTo(w().filterPanel));
    EXPECT_EQ(filter().onBackground()->objectName(), s(u"JvFilterOnGradient"));
    EXPECT_EQ(filter().offBackground()->objectName(), s(u"JvFilterOffGradient"));
    const QColor gray = ledColour();
    EXPECT_LT(std::abs(gray.red() - gray.green()), 20) << "the gray LED";

    onOff->click();
    EXPECT_TRUE(main().filterState());
    EXPECT_EQ(onOff->text(), s(u"Transfer filter on"));
    EXPECT_TRUE(w().transferFilterOnAction->isChecked());
    EXPECT_TRUE(filter().onBackground()->isVisibleTo(w().filterPanel));
    EXPECT_FALSE(filter().offBackground()->isVisibleTo(w().filterPanel));
    EXPECT_GT(ledColour().green(), ledColour().red() + 60) << "the green LED";
    EXPECT_TRUE(optionFilterOn());
    EXPECT_EQ(filter().onBackground()->size(), w().filterPanel->size());
    EXPECT_TRUE(filter().transferFilter().isInUse());

    w().transferFilterOnAction->trigger(); // the menu's check item switches it back
    EXPECT_FALSE(main().filterState());
    EXPECT_EQ(onOff->text(), s(u"Transfer filter off"));
    EXPECT_FALSE(optionFilterOn());
    EXPECT_FALSE(filter().transferFilter().isInUse());

    filter().SwitchFilterOn();
    context().language.setCurrent(Language::German);
    EXPECT_EQ(onOff->text(), s(u"Transfer Filter an"));
    filter().SwitchFilterOff();
    EXPECT_EQ(onOff->text(), s(u"Transfer Filter aus"));
}

TEST_F(FilterPanel, TheSavedOptionSwitchesTheFilterOnAtStart)
{
    env.writeFile(QDir(env.root()).relativeFilePath(env.appDataFolder() + s(u"options.ini")), "[SETTINGS]\r\nFilterON=1\r\n");
    startProgram();
    EXPECT_TRUE(main().filterState());
    EXPECT_EQ(w().filterOnOffButton->text(), s(u"Transfer filter on"));
    EXPECT_TRUE(w().transferFilterOnAction->isChecked());
    EXPECT_TRUE(filter().onBackground()->isVisibleTo(w().filterPanel));
}

TEST_F(FilterPanel, EditFilterOpensTheWindowForTheCriteriaOnly)
{
    startProgram();
    EXPECT_EQ(w().filterLabel->text(), s(u"('*.*' in Filename) ")) << "the empty filter at start";
    EXPECT_EQ(w().filterLabel->font().pointSize(), 12);
    EXPECT_TRUE(w().filterLabel->font().bold());
    EXPECT_EQ(w().editFilterButton->text(), s(u"Edit Filter [F2]"));
    EXPECT_EQ(w().editFilterAction->objectName(), s(u"EditFilter1"));
    EXPECT_EQ(w().editFilterAction->shortcut(), QKeySequence(Qt::Key_F2));

    bool seen = false;
    whenShown(&form(), [&] {
        seen = form().isVisible();
        EXPECT_EQ(form().mode(), FilterWindowMode::EditOnly);
        EXPECT_EQ(form().height(), 260);
        EXPECT_EQ(form().header()->title(), s(u"Filter"));
        auto *term = form().findChild<QLineEdit *>(s(u"TermEdit"));
        term->setText(s(u"index|home|contact|impressum|sitemap|privacy|terms"));
        form().findChild<QLineEdit *>(s(u"ExtensionEdit"))->setText(s(u"htm|html|php"));
        fireTimer(form());
        QTest::keyClick(term, Qt::Key_Escape);
    });
    main().activateWindow();
    QApplication::setActiveWindow(&main());
    QTest::keyClick(&main(), Qt::Key_F2);
    if (!seen) // the offscreen platform may not deliver shortcuts: the menu item does the same
        w().editFilterAction->trigger();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(form().isVisible());
    EXPECT_FALSE(main().isBusy());
    const QString description =
        s(u"('index|home|contact|impressum|sitemap|privacy|terms' in Filename) or (Extension='htm|html|php') ");
    EXPECT_EQ(w().filterLabel->text(), description);
    EXPECT_EQ(form().description(), description);
    EXPECT_EQ(w().filterLabel->font().pointSize(), 10) << "longer than 80 characters";

    // The button opens it the same way; the criteria stay as edited.
    whenShown(&form(), [&] {
        EXPECT_EQ(form().criteria().extension, s(u"htm|html|php"));
        form().findChild<QPushButton *>(s(u"AbortBitBtn"))->click();
    });
    w().editFilterButton->click();
    EXPECT_FALSE(form().isVisible());
}

TEST_F(FilterPanel, SearchButtonsStartTheRequestOfTheActiveSide)
{
    startProgram();
    EXPECT_EQ(w().searchFilesButton->text(), s(u"Search files [F3]"));
    EXPECT_EQ(w().searchInFilesButton->text(), s(u"Search in files [F9]"));
    EXPECT_EQ(w().searchAndReplaceButton->text(), s(u"Search and replace [F10]"));
    QStringList started;
    BrowserController &browser = starter->browser();
    const std::pair<GridCommand, const char16_t *> commands[] = {{GridCommand::SearchFiles, u"files"},
                                                                 {GridCommand::SearchInFiles, u"in files"},
                                                                 {GridCommand::SearchAndReplace, u"replace"}};
    for (auto [command, name] : commands) {
        browser.commands().setHandler(command, [&started, name = name](BrowserSide side) {
            started << QString::fromUtf16(name) + (side == BrowserSide::Local ? s(u" local") : s(u" server"));
        });
    }
    w().searchFilesButton->click();
    QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(browser.pane(BrowserSide::Server).view(), &focusIn);
    w().searchInFilesButton->click();
    w().searchAndReplaceButton->click();
    EXPECT_EQ(started, QStringList({s(u"files local"), s(u"in files server"), s(u"replace server")}));
}

// A download from pyftpdlib with the filter switched on.
class FilteredTransfer : public FilterPanel {
protected:
    void SetUp() override
    {
        FilterPanel::SetUp();
        startProgram();
        server.writeFile(s(u"www/index.html"), "<p>\n");
        server.writeFile(s(u"www/img/logo.png"), QByteArray("\x89PNG\r\n", 6));
        server.writeFile(s(u"www/old.htm"), "old\n");
        ASSERT_TRUE(server.start()) << server.errorText().toStdString();
        localRoot = env.root() + s(u"loc/");
        QDir().mkpath(localRoot);
        master = &starter->ftp();
        master->client().setTimeouts({3000, 5000, 5000});
        master->SetConnectionData(server.host(), QString::number(server.port()), server.user(), server.password(), 0);
        ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
        main().SetIdleState();
        starter->browser().FillServerGrid(s(u"/"));
        starter->browser().FillLocalGrid(localRoot);
        ASSERT_TRUE(NoWizardFilterFile(context().folders.appDataFolder).write());
        filter().SwitchFilterOn();
        prompts.clear();
    }
    void TearDown() override
    {
        if (master && master->isConnected())
            master->Disconnect();
        FilterPanel::TearDown();
    }
    void selectServerRow(const QString &name)
    {
        FileGridPane &pane = starter->browser().pane(BrowserSide::Server);
        for (int row = 0; row < pane.model().rowCount(); ++row) {
            if (pane.model().nameAt(row) == name) {
                pane.view()->selectionModel()->setCurrentIndex(pane.view()->model()->index(row, FileGridColumns::Name),
                                                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                return;
            }
        }
        FAIL() << name.toStdString();
    }
    int rowOf(const QString &source)
    {
        for (int row = 0; row < form().grid().rowCount(); ++row) {
            if (form().grid().rowAt(row).source == source)
                return row;
        }
        return -1;
    }

    FtpTestServer server;
    MasterFTP *master = nullptr;
    QString localRoot;
};

TEST_F(FilteredTransfer, ExecuteDownloadsOnlyTheTickedFiles)
{
    selectServerRow(s(u"www"));
    QString title;
    int rows = -1;
    whenShown(&form(), [&] {
        title = form().header()->title();
        EXPECT_TRUE(w().queueInfoPanel->text().isEmpty());
        form().findChild<QLineEdit *>(s(u"TermEdit"))->setText(s(u"htm"));
        fireTimer(form());
        rows = form().grid().rowCount();
        form().grid().setTicked(rowOf(s(u"/www/old.htm")), false);
        form().findChild<QPushButton *>(s(u"ExecuteQueueBitBtn"))->click();
    });
    w().downloadAction->trigger();
    EXPECT_EQ(title, s(u"Filter"));
    EXPECT_EQ(rows, 2) << "index.html and old.htm";
    EXPECT_EQ(TestEnvironment::readFile(localRoot + s(u"www/index.html")), QByteArray("<p>\n"));
    EXPECT_FALSE(QFileInfo::exists(localRoot + s(u"www/old.htm")));
    EXPECT_FALSE(QFileInfo::exists(localRoot + s(u"www/img/logo.png")));
    EXPECT_FALSE(main().isBusy());
}

TEST_F(FilteredTransfer, ClosingTheWindowDownloadsNothingAndAnEmptyTickListRunsNothing)
{
    selectServerRow(s(u"www"));
    whenShown(&form(), [&] { QTest::keyClick(form().findChild<QLineEdit *>(s(u"TermEdit")), Qt::Key_Escape); });
    w().downloadAction->trigger();
    EXPECT_FALSE(QFileInfo::exists(localRoot + s(u"www")));
    EXPECT_FALSE(main().isBusy());

    whenShown(&form(), [&] {
        fireTimer(form());
        form().findChild<QPushButton *>(s(u"UnselectAllBitBtn"))->click();
        form().findChild<QPushButton *>(s(u"ExecuteQueueBitBtn"))->click();
    });
    w().downloadAction->trigger();
    EXPECT_TRUE(starter->queue().model().isEmpty()) << "nothing ticked, nothing queued";
    EXPECT_FALSE(QFileInfo::exists(localRoot + s(u"www/index.html")));
    EXPECT_FALSE(main().isBusy());
}

TEST_F(FilteredTransfer, RowsBecomeTheRecordsTheyRunAs)
{
    const QList<FilterRow> rows = {
        {s(u"/www/a.txt"), s(u"RETR"), s(u"/l/a.txt"), s(u"12"), s(u"20.05.2010 10:00")},
        {s(u"/l/b.txt"), s(u"STOR"), s(u"/www/b.txt"), s(u"3"), QString()},
        {s(u"/www/old"), s(u"RMD"), QString(), s(u"0"), QString()},
        {s(u"/www/c.txt"), s(u"DELE"), QString(), s(u"1"), QString()},
        {s(u"/l/img"), s(u"MKLOCALDIR"), QString(), QString(), QString()},
    };
    EXPECT_EQ(MainFormTransferFilter::recordsFromRows(rows),
              QStringList({s(u"RETR|/www/a.txt|/l/a.txt\u00A71|a.txt|12|20.05.2010 10:00"),
                           s(u"STOR|/l/b.txt|/www/b.txt\u00A71|b.txt|3|"), s(u"RMD|/www/old"), s(u"DELE|/www/c.txt")}));
}

TEST_F(FilteredTransfer, FilterDatesCompareAsDaysUnderEveryLocale)
{
    // Two files of 20 May 2024 and one of 2020; the server lists them as "20.05.2024".
    const QDateTime day(QDate(2024, 5, 20), QTime(10, 0), Qt::UTC);
    const auto setTime = [this](const char16_t *file, const QDateTime &time) {
        QFile f(server.localPath(s(file)));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(time, QFileDevice::FileModificationTime));
    };
    setTime(u"www/index.html", day);
    setTime(u"www/img/logo.png", day.addSecs(3600));
    setTime(u"www/old.htm", QDateTime(QDate(2020, 3, 1), QTime(8, 0), Qt::UTC));

    const QLocale before;
    struct Case {
        const char *locale;
        bool germanSystem;
    };
    for (const Case &c : {Case{"en_US", false}, Case{"de_DE", true}, Case{"C", false}}) {
        SCOPED_TRACE(c.locale);
        QLocale::setDefault(QLocale(QString::fromLatin1(c.locale)));
        context().systemIsGerman = c.germanSystem;
        // index 0 "All with Date", 1 "Without specified date"; the date comes from the picker.
        for (int test : {1, 0}) {
            QDir(localRoot + s(u"www")).removeRecursively();
            selectServerRow(s(u"www"));
            QString picked;
            whenShown(&form(), [&] {
                form().findChild<QComboBox *>(s(u"DateIEComboBox"))->setCurrentIndex(test);
                FilterDatePicker *picker = form().findChild<FilterDatePicker *>();
                picker->pick(QDate(2024, 5, 20));
                picked = picker->text();
                fireTimer(form());
                form().findChild<QPushButton *>(s(u"ExecuteQueueBitBtn"))->click();
            });
            w().downloadAction->trigger();
            EXPECT_EQ(picked, c.germanSystem ? s(u"20.05.2024") : s(u"05/20/2024"));
            const bool sameDay = test == 0;
            EXPECT_EQ(QFileInfo::exists(localRoot + s(u"www/index.html")), sameDay) << "test " << test;
            EXPECT_EQ(QFileInfo::exists(localRoot + s(u"www/img/logo.png")), sameDay) << "test " << test;
            EXPECT_EQ(QFileInfo::exists(localRoot + s(u"www/old.htm")), !sameDay) << "test " << test;
            EXPECT_FALSE(main().isBusy());
        }
    }
    QLocale::setDefault(before);
}

TEST_F(FilteredTransfer, EnterOrExecuteRightAfterTypingShowsTheNewListFirst)
{
    for (const char16_t *name : {u"a.txt", u"b.txt", u"c.txt", u"d.txt"})
        env.writeFile(s(u"loc/") + s(name), "x");
    starter->browser().FillLocalGrid(localRoot);
    FileGridPane &local = starter->browser().pane(BrowserSide::Local);
    const auto selectAll = [&local](const QStringList &names) {
        local.view()->clearSelection();
        for (int row = 0; row < local.model().rowCount(); ++row) {
            if (names.contains(local.model().nameAt(row)))
                local.view()->selectionModel()->setCurrentIndex(local.view()->model()->index(row, FileGridColumns::Name),
                                                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    };

    // Enter within the delay after the term was typed: the list of the new criteria is shown and
    // the window stays open; Enter again, on the list now seen, deletes only the file it holds.
    selectAll({s(u"a.txt"), s(u"b.txt"), s(u"c.txt"), s(u"d.txt")});
    int rowsBefore = -1;
    int rowsAfterFirstEnter = -1;
    bool openAfterFirstEnter = false;
    whenShown(&form(), [&] {
        fireTimer(form()); // the evaluation of the window's opening: every file
        rowsBefore = form().grid().rowCount();
        QLineEdit *term = form().findChild<QLineEdit *>(s(u"TermEdit"));
        term->setText(s(u"b.txt"));
        QTest::keyClick(term, Qt::Key_Return);
        openAfterFirstEnter = form().isVisible();
        rowsAfterFirstEnter = form().grid().rowCount();
        QTest::keyClick(term, Qt::Key_Return);
    });
    prompts.confirmAnswers = {true};
    QTest::keyClick(local.view(), Qt::Key_F8);
    EXPECT_EQ(rowsBefore, 4);
    EXPECT_TRUE(openAfterFirstEnter);
    EXPECT_EQ(rowsAfterFirstEnter, 1);
    EXPECT_FALSE(QFileInfo::exists(localRoot + s(u"b.txt")));
    for (const char16_t *kept : {u"a.txt", u"c.txt", u"d.txt"})
        EXPECT_TRUE(QFileInfo::exists(localRoot + s(kept))) << QString::fromUtf16(kept).toStdString();

    // The Execute button the same way.
    starter->browser().FillLocalGrid(localRoot);
    selectAll({s(u"a.txt"), s(u"c.txt"), s(u"d.txt")});
    whenShown(&form(), [&] {
        fireTimer(form());
        form().findChild<QLineEdit *>(s(u"TermEdit"))->setText(s(u"c.txt"));
        QPushButton *execute = form().findChild<QPushButton *>(s(u"ExecuteQueueBitBtn"));
        execute->click(); // shows the list of "c.txt"
        execute->click(); // acts on it
    });
    prompts.confirmAnswers = {true};
    QTest::keyClick(local.view(), Qt::Key_F8);
    EXPECT_FALSE(QFileInfo::exists(localRoot + s(u"c.txt")));
    EXPECT_TRUE(QFileInfo::exists(localRoot + s(u"a.txt")));
    EXPECT_TRUE(QFileInfo::exists(localRoot + s(u"d.txt")));
    EXPECT_FALSE(main().isBusy());
}

} // namespace
