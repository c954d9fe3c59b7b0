// The filter window in the running program, offscreen: each mode's layout and texts, the
// evaluation the 400 ms timer starts, the filtered queue with its ticks and summary, the
// criteria buttons, filter files saved and loaded through the window, and what each action
// button hands back.
#include "AppFixture.h"
#include "QtPrinters.h"

#include "app/ColumnWidth.h"
#include "app/DialogHeader.h"
#include "app/Options.h"
#include "app/ProtocolLog.h"
#include "filter/FilterCriteriaPanel.h"
#include "filter/FilterDatePicker.h"
#include "filter/FilterFile.h"
#include "filter/FilterForm.h"
#include "filter/FilterGridModel.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QString s(const char16_t *text)
{
    return QString::fromUtf16(text);
}

const QStringList Records = {
    s(u"RETR|/www/index.php|/l/www/index.php\u00A71|index.php|1234|20.05.2010 23:59"),
    s(u"RETR|/www/img/logo.png|/l/www/img/logo.png\u00A71|logo.png|100|19.05.2010 10:00"),
    s(u"MKLOCALDIR|/l/www/img"),
    s(u"RETR|/www/old.htm|/l/www/old.htm\u00A71|old.htm|5000|31.12.2009 08:00"),
    s(u"RETR|/www/older.htm|/l/www/older.htm\u00A71|older.htm|7|30.12.2009 23:59"),
};

class FilterWindow : public AppFixture {
protected:
    void SetUp() override
    {
        existingProfile();
        ASSERT_TRUE(start());
        main().siteManagerTimer().stop();
        prompts.clear();
    }

    FilterForm &form() { return *starter->dialogs().filter; }
    template <typename T = QWidget>
    T *child(const char *name)
    {
        T *found = form().findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLineEdit *edit(const char *name) { return child<QLineEdit>(name); }
    QComboBox *combo(const char *name) { return child<QComboBox>(name); }
    QPushButton *button(const char *name) { return child<QPushButton>(name); }
    QString label(const char *name) { return child<QLabel>(name)->text(); }
    bool shown(const char *name) { return child(name)->isVisible(); }

    void open(FilterWindowMode mode, const QStringList &records = Records)
    {
        form().setQueueList(records);
        form().prepareShow(mode);
        form().show();
    }
    void fireTimer() { QMetaObject::invokeMethod(&form().evaluationTimer(), "timeout", Qt::DirectConnection); }
    QStringList sources()
    {
        QStringList result;
        for (int row = 0; row < form().grid().rowCount(); ++row)
            result.append(form().grid().rowAt(row).source);
        return result;
    }
    QString savedFilters() { return env.appDataFolder() + s(u"Saved-Filters/"); }
};

TEST_F(FilterWindow, EditOnlyShowsTheCriteriaAlone)
{
    open(FilterWindowMode::EditOnly);
    EXPECT_EQ(form().windowTitle(), context().captionText());
    EXPECT_EQ(form().header()->objectName(), s(u"TopLabel"));
    EXPECT_EQ(form().header()->title(), s(u"Filter"));
    EXPECT_EQ(form().height(), 260);
    EXPECT_EQ(label("PIpeCharInfoLabel"),
              s(u"Use Pipe character as delimiter for more Filter Terms. For Example keyword1Ikeyword2Ikeyword3"));
    EXPECT_EQ(label("Label1"), s(u"All with"));
    EXPECT_EQ(label("Label5"), s(u"and"));
    EXPECT_EQ(label("Label4"), s(u"All without"));
    EXPECT_EQ(button("LoadFilterBitBtn")->text(), s(u"Load Filter"));
    EXPECT_EQ(button("SaveFilterBitBtn")->text(), s(u"Save Filter"));
    EXPECT_EQ(button("ResetBitBtn")->text(), s(u"Reset Filter"));
    EXPECT_EQ(button("AbortBitBtn")->text(), s(u"Close"));
    EXPECT_EQ(button("TodayBitBtn")->text(), s(u"Today"));
    EXPECT_EQ(button("AsciiFilesBitBtn")->text(), s(u"Ascii files"));
    for (const char *visible : {"LoadFilterBitBtn", "SaveFilterBitBtn", "ResetBitBtn", "AbortBitBtn", "TermEdit", "FilterLabel"})
        EXPECT_TRUE(shown(visible)) << visible;
    for (const char *hidden : {"FilterNextGrid", "InfoLabel", "SelectAllBitBtn", "UnselectAllBitBtn", "ExecuteQueueBitBtn",
                               "SearchFilesBitBtn", "SearchInFilesBitBtn", "SearchAndReplaceInFilesBitBtn"})
        EXPECT_FALSE(shown(hidden)) << hidden;
    // "Close" sits under the criteria, above the description.
    EXPECT_LT(button("AbortBitBtn")->mapTo(&form(), QPoint()).y(), child("FilterLabel")->mapTo(&form(), QPoint()).y());

    // The empty filter and its combo boxes.
    EXPECT_EQ(edit("TermEdit")->text(), s(u"*.*"));
    EXPECT_EQ(combo("TermDirComboBox")->currentText(), s(u"in Filename"));
    EXPECT_EQ(combo("AndDateComboBox")->currentText(), s(u"or"));
    EXPECT_EQ(combo("DateIEComboBox")->currentText(), s(u"All with Date"));
    EXPECT_EQ(combo("ExtensionIEComboBox")->currentText(), s(u"All with Extension"));
    EXPECT_EQ(combo("FileSizeIEComboBox")->currentText(), s(u"Size less "));

    // No records are evaluated; the description is made.
    EXPECT_TRUE(form().evaluationTimer().isActive());
    EXPECT_EQ(form().evaluationTimer().interval(), 400);
    fireTimer();
    EXPECT_EQ(form().grid().rowCount(), 0);
    EXPECT_EQ(label("FilterLabel"), s(u"('*.*' in Filename) "));
    EXPECT_EQ(w().filterLabel->text(), s(u"('*.*' in Filename) "));

    // Enter does nothing here; Escape closes without OK.
    QTest::keyClick(edit("TermEdit"), Qt::Key_Return);
    EXPECT_TRUE(form().isVisible());
    QTest::keyClick(edit("TermEdit"), Qt::Key_Escape);
    EXPECT_FALSE(form().isVisible());
    EXPECT_EQ(form().result(), QDialog::Rejected);
}

TEST_F(FilterWindow, EachModeHasItsTitleButtonAndHeight)
{
    struct Case {
        FilterWindowMode mode;
        const char16_t *title;
        const char *action;
        const char16_t *caption;
        bool fileButtons;
    };
    const Case cases[] = {
        {FilterWindowMode::Transfer, u"Filter", "ExecuteQueueBitBtn", u"Execute", true},
        {FilterWindowMode::FindFiles, u"Search files", "SearchFilesBitBtn", u"Goto selected file", false},
        {FilterWindowMode::SearchInFiles, u"Step1: Filter the files first you want to search in", "SearchInFilesBitBtn",
         u"Step2: Search in selected files", false},
        {FilterWindowMode::SearchAndReplace, u"Step1: Filter the files first you want to search and replace in",
         "SearchAndReplaceInFilesBitBtn", u"Step2: Search and replace in selected files", false},
    };
    const char *actions[] = {"ExecuteQueueBitBtn", "SearchFilesBitBtn", "SearchInFilesBitBtn", "SearchAndReplaceInFilesBitBtn"};
    for (const Case &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.title).toStdString());
        open(c.mode);
        EXPECT_EQ(form().header()->title(), s(c.title));
        EXPECT_EQ(form().height(), 670);
        for (const char *action : actions) {
            EXPECT_EQ(shown(action), qstrcmp(action, c.action) == 0) << action;
            EXPECT_EQ(button(action)->isDefault(), qstrcmp(action, c.action) == 0) << action;
        }
        EXPECT_EQ(button(c.action)->text(), s(c.caption));
        for (const char *fileButton : {"LoadFilterBitBtn", "SaveFilterBitBtn", "ResetBitBtn"})
            EXPECT_EQ(shown(fileButton), c.fileButtons) << fileButton;
        for (const char *visible : {"FilterNextGrid", "InfoLabel", "SelectAllBitBtn", "UnselectAllBitBtn", "AbortBitBtn"})
            EXPECT_TRUE(shown(visible)) << visible;
        EXPECT_EQ(label("InfoLabel"), s(u"Filtered queue"));
        EXPECT_EQ(button("SelectAllBitBtn")->text(), s(u"Select all"));
        EXPECT_EQ(button("UnselectAllBitBtn")->text(), s(u"Unselect all"));
        // "Close" sits beside the action button, under the grid.
        EXPECT_EQ(button("AbortBitBtn")->mapTo(&form(), QPoint()).y(), button(c.action)->mapTo(&form(), QPoint()).y());
        form().hide();
    }

    context().language.setCurrent(Language::German);
    open(FilterWindowMode::FindFiles);
    EXPECT_EQ(form().header()->title(), s(u"Dateien suchen"));
    EXPECT_EQ(button("SearchFilesBitBtn")->text(), s(u"Zur ausgew\u00E4hlen Datei springen"));
    EXPECT_EQ(button("AbortBitBtn")->text(), s(u"Schlie\u00DFen"));
    EXPECT_EQ(label("InfoLabel"), s(u"Gefilterte Warteschlange"));
    EXPECT_EQ(combo("TermDirComboBox")->currentText(), s(u"im Dateinamen"));
    EXPECT_EQ(button("SelectAllBitBtn")->text(), s(u"Alle ausw\u00E4hlen"));
    fireTimer();
    EXPECT_EQ(label("InfoLabel"), s(u"Gefilterte Dateien - 5 Dateien - 6.341 bytes"));
    EXPECT_EQ(label("FilterLabel"), s(u"('*.*' im Dateinamen) "));
}

TEST_F(FilterWindow, TheCmdColumnShowsEveryCommandWhole)
{
    open(FilterWindowMode::Transfer,
         {s(u"DELLOC|/l/a.txt| \u00A71|a.txt|1|20.05.2010 10:00"), s(u"MKLOCALDIR|/l/www/img")});
    fireTimer();
    QTableView *grid = child<QTableView>("FilterNextGrid");
    ASSERT_EQ(grid->model()->index(0, 2).data().toString(), s(u"DELLOC"));
    for (const char16_t *command : {u"DELLOC", u"MKLOCALDIR", u"RETR", u"STOR", u"CHMOD"})
        EXPECT_GE(grid->columnWidth(2), ColumnWidth::forText(s(command), grid->fontMetrics())) << s(command).toStdString();
    form().close();
}

TEST_F(FilterWindow, TheTimerFillsTheGridWithTickedRowsAndTheSummary)
{
    open(FilterWindowMode::Transfer);
    EXPECT_EQ(form().grid().rowCount(), 0) << "nothing before the timer fires";
    fireTimer();
    QTableView *grid = child<QTableView>("FilterNextGrid");
    EXPECT_EQ(sources(), QStringList({s(u"/www/index.php"), s(u"/www/img/logo.png"), s(u"/l/www/img"), s(u"/www/old.htm"),
                                      s(u"/www/older.htm")}));
    EXPECT_EQ(form().tickedRows().size(), 5);
    EXPECT_EQ(label("InfoLabel"), s(u"Filtered queue - 5 Files - 6.341 bytes"));
    EXPECT_EQ(grid->selectionModel()->selectedRows().value(0).row(), 0);
    EXPECT_EQ(label("ProgressLabel"), QString());
    // The date column shows the queue grid's format (not a German system: month first).
    EXPECT_EQ(grid->model()->index(0, FilterGridModel::DateColumn).data().toString(), s(u"05/20/2010 23:59:00"));
    QStringList captions;
    for (int column = 1; column < FilterGridModel::ColumnCount; ++column)
        captions << grid->model()->headerData(column, Qt::Horizontal).toString();
    EXPECT_EQ(captions, QStringList({s(u"Server / Local File:"), s(u"Cmd:"), s(u"Remote File:"), s(u"Size:"), s(u"Date:")}));

    // A burst of typing starts one wait of 400 ms; it is not extended by later changes.
    form().evaluationTimer().stop();
    edit("TermEdit")->setText(s(u"old"));
    ASSERT_TRUE(form().evaluationTimer().isActive());
    const int remaining = form().evaluationTimer().remainingTime();
    edit("TermEdit")->setText(s(u"old|index"));
    EXPECT_LE(form().evaluationTimer().remainingTime(), remaining);
    fireTimer();
    EXPECT_FALSE(form().evaluationTimer().isActive()) << "the preparation's own changes start no evaluation";
    EXPECT_EQ(sources(), QStringList({s(u"/www/index.php"), s(u"/l/www/img"), s(u"/www/old.htm"), s(u"/www/older.htm")}))
        << "the folder record passes untested";
    EXPECT_TRUE(shown("TermOnLabel"));
    EXPECT_TRUE(shown("TermJvGradient"));
    EXPECT_EQ(child<QLabel>("TermOnLabel")->text(), s(u"ACTIVE"));
    EXPECT_FALSE(shown("ExtensionOnLabel"));
    EXPECT_EQ(label("FilterLabel"), s(u"('old|index' in Filename) "));
    EXPECT_EQ(w().filterLabel->text(), s(u"('old|index' in Filename) "));

    // "*.*" with an extension: the preparation empties the term, only .png passes (the folder
    // record passes untested).
    edit("TermEdit")->setText(s(u"*.*"));
    edit("ExtensionEdit")->setText(s(u"png"));
    fireTimer();
    EXPECT_EQ(edit("TermEdit")->text(), QString());
    EXPECT_EQ(sources(), QStringList({s(u"/www/img/logo.png"), s(u"/l/www/img")}));
    EXPECT_FALSE(shown("TermOnLabel"));
    EXPECT_TRUE(shown("ExtensionOnLabel"));
    EXPECT_TRUE(shown("ExtJvGradient"));
    EXPECT_EQ(label("FilterLabel"), s(u"(Extension='png') "));

    // A row the user unticked stays unticked through the next evaluation, where it remains;
    // the other rows are ticked.
    button("UnselectAllBitBtn")->click();
    EXPECT_TRUE(form().tickedRows().isEmpty());
    button("SelectAllBitBtn")->click();
    EXPECT_EQ(form().tickedRows().size(), 2);
    form().grid().setTicked(0, false);
    const QString unticked = form().grid().records().value(0);
    edit("FileSizeEdit")->setText(s(u"1000"));
    fireTimer();
    ASSERT_TRUE(form().grid().records().contains(unticked));
    for (int row = 0; row < form().grid().rowCount(); ++row)
        EXPECT_EQ(form().grid().isTicked(row), form().grid().records().value(row) != unticked) << row;

    // Changes while the window is hidden start nothing.
    form().hide();
    edit("FileSizeEdit")->setText(s(u"2000"));
    EXPECT_FALSE(form().evaluationTimer().isActive());
}

TEST_F(FilterWindow, LongListsAreEvaluatedInChunksWithEventsBetween)
{
    QStringList records;
    records.reserve(100000);
    for (int i = 0; i < 100000; ++i)
        records.append(QStringLiteral("RETR|/www/f%1.txt|/l/f%1.txt\u00A71|f%1.txt|%2|20.05.2010 10:00").arg(i).arg(i % 10));
    open(FilterWindowMode::Transfer, records);
    edit("TermEdit")->setText(s(u"f9"));
    bool ranDuring = false;
    QString progressDuring;
    bool executeDuring = true;
    // A posted event runs while the evaluation is still busy: the window stays responsive.
    QTimer::singleShot(0, &form(), [&] {
        ranDuring = form().isEvaluating();
        progressDuring = label("ProgressLabel");
        executeDuring = button("ExecuteQueueBitBtn")->isEnabled();
        edit("TermEdit")->setText(s(u"f99")); // noted, evaluated after this one
    });
    fireTimer();
    EXPECT_TRUE(ranDuring);
    EXPECT_TRUE(progressDuring.startsWith(s(u"Set filters: "))) << progressDuring.toStdString();
    EXPECT_FALSE(executeDuring) << "a half-filtered queue cannot be confirmed";
    EXPECT_TRUE(button("ExecuteQueueBitBtn")->isEnabled());
    EXPECT_EQ(form().grid().rowCount(), 11111); // f9, f90..f99, f900..f999, ...
    EXPECT_TRUE(form().evaluationTimer().isActive()) << "the change made meanwhile is evaluated next";
    fireTimer();
    EXPECT_EQ(form().grid().rowCount(), 1111);
}

TEST_F(FilterWindow, TodayAndAsciiFilesButtonsSwitchTheirCaptions)
{
    open(FilterWindowMode::Transfer);
    auto *picker = child<FilterDatePicker>("NxDatePicker");
    EXPECT_TRUE(picker->edit()->isReadOnly()) << "dates are chosen, not typed";
    button("TodayBitBtn")->click();
    EXPECT_EQ(picker->text(), QDate::currentDate().toString(s(u"MM/dd/yyyy")));
    EXPECT_EQ(button("TodayBitBtn")->text(), s(u"Clear"));
    EXPECT_TRUE(form().evaluationTimer().isActive());
    button("TodayBitBtn")->click();
    EXPECT_EQ(picker->text(), QString());
    EXPECT_EQ(button("TodayBitBtn")->text(), s(u"Today"));
    QTest::keyClick(picker->edit(), Qt::Key_A);
    EXPECT_EQ(picker->text(), QString());

    button("AsciiFilesBitBtn")->click();
    EXPECT_EQ(edit("ExtensionEdit")->text(), NonTextExtensions);
    EXPECT_EQ(combo("ExtensionIEComboBox")->currentText(), s(u"All without Extension"));
    EXPECT_EQ(button("AsciiFilesBitBtn")->text(), s(u"Clear"));
    fireTimer();
    EXPECT_EQ(sources(), QStringList({s(u"/www/index.php"), s(u"/l/www/img"), s(u"/www/old.htm"), s(u"/www/older.htm")}));
    button("AsciiFilesBitBtn")->click();
    EXPECT_EQ(edit("ExtensionEdit")->text(), QString());
    EXPECT_EQ(combo("ExtensionIEComboBox")->currentText(), s(u"All with Extension"));
    EXPECT_EQ(button("AsciiFilesBitBtn")->text(), s(u"Ascii files"));

    // Reset brings the empty filter back and starts the timer.
    edit("WithoutTermEdit")->setText(s(u"old"));
    combo("AndFileSizeComboBox")->setCurrentIndex(1);
    form().evaluationTimer().stop();
    button("ResetBitBtn")->click();
    EXPECT_EQ(form().criteria(), FilterCriteria::empty());
    EXPECT_TRUE(form().evaluationTimer().isActive());
}

TEST_F(FilterWindow, FiltersAreSavedAndLoadedThroughTheWindow)
{
    open(FilterWindowMode::Transfer);
    edit("TermEdit")->setText(s(u"index|old"));
    combo("TermDirComboBox")->setCurrentIndex(1);
    edit("WithoutTermEdit")->setText(s(u"older"));
    edit("FileSizeEdit")->setText(s(u"100000"));
    combo("AndFileSizeComboBox")->setCurrentIndex(1);
    const FilterCriteria typed = form().criteria();

    const QString path = savedFilters() + s(u"mine.fil");
    prompts.fileAnswers = {savedFilters() + s(u"mine")}; // the default extension is added
    button("SaveFilterBitBtn")->click();
    EXPECT_EQ(prompts.shown, QStringList({s(u"saveFile: Save Filter|")}));
    EXPECT_EQ(prompts.lastStartFolder, savedFilters());
    EXPECT_EQ(FilterFile::read(path).value_or(FilterCriteria()), typed);

    button("ResetBitBtn")->click();
    fireTimer();
    EXPECT_EQ(form().grid().rowCount(), 5);
    prompts.fileAnswers = {path};
    button("LoadFilterBitBtn")->click();
    EXPECT_EQ(prompts.shown.last(), s(u"openFile: Load Filter"));
    EXPECT_EQ(prompts.lastFilter, FilterFile::DialogFilter);
    EXPECT_EQ(form().criteria(), typed);
    // Evaluated at once: no wait for the timer.
    EXPECT_FALSE(form().evaluationTimer().isActive());
    EXPECT_EQ(sources(), QStringList({s(u"/www/index.php"), s(u"/l/www/img"), s(u"/www/old.htm")}));
    EXPECT_EQ(label("FilterLabel"),
              s(u"('index|old' in Directory and Filename) and ('older' in Filename) and (Filesize<'100000') "));

    // A cancelled dialog changes nothing.
    button("LoadFilterBitBtn")->click();
    EXPECT_EQ(form().criteria(), typed);
}

TEST_F(FilterWindow, ADamagedOrForeignFileIsRefusedAndTheCriteriaStay)
{
    open(FilterWindowMode::Transfer);
    edit("TermEdit")->setText(s(u"typed by hand"));
    const FilterCriteria typed = form().criteria();
    QDir().mkpath(savedFilters());
    const QString damaged = env.writeFile(s(u"bad.fil"), "[SETTINGS]\r\nTerm=x\r\nTermDir=abc\r\n");
    const QString foreign = env.writeFile(s(u"site.xml"), "<FileZilla3><Servers/></FileZilla3>\r\n");
    prompts.fileAnswers = {damaged, foreign};
    button("LoadFilterBitBtn")->click();
    button("LoadFilterBitBtn")->click();
    const QString damagedText =
        s(u"The filter file \"bad.fil\" is damaged: \"TermDir\" must be a whole number, not \"abc\". The filter was not changed.");
    const QString foreignText =
        s(u"\"site.xml\" is not a filter file (its section [SETTINGS] holds none of the filter's keys). The filter was not changed.");
    EXPECT_EQ(prompts.shown, QStringList({s(u"openFile: Load Filter"), s(u"error: ") + damagedText,
                                          s(u"openFile: Load Filter"), s(u"error: ") + foreignText}));
    EXPECT_EQ(form().criteria(), typed);
    EXPECT_EQ(context().protocol.entries().last().text, foreignText);
    EXPECT_TRUE(form().isVisible());
}

TEST_F(FilterWindow, ALoadedDateAndAnIndexOutsideItsListKeepTheEvaluationGoing)
{
    QDir().mkpath(savedFilters());
    const QString sinceFile = env.writeFile(s(u"since.fil"), "[SETTINGS]\r\nDate=31.12.2009\r\nDateIE=2\r\nFileSizeIE=9\r\n");
    open(FilterWindowMode::Transfer);
    prompts.fileAnswers = {sinceFile};
    button("LoadFilterBitBtn")->click();
    EXPECT_TRUE(shown("DateOnLabel"));
    EXPECT_TRUE(shown("DateJvGradient"));
    EXPECT_EQ(button("TodayBitBtn")->text(), s(u"Clear"));
    EXPECT_EQ(combo("FileSizeIEComboBox")->currentIndex(), -1) << "an index outside its list selects nothing";
    EXPECT_EQ(sources(), QStringList({s(u"/www/index.php"), s(u"/www/img/logo.png"), s(u"/l/www/img"), s(u"/www/old.htm")}));

    // A date no calendar knows: a protocol line, no record passes the date, the rest goes on.
    const QString badDate = env.writeFile(s(u"bad-date.fil"), "[SETTINGS]\r\nDate=31.02.2010\r\nDateIE=3\r\n");
    prompts.fileAnswers = {badDate};
    button("LoadFilterBitBtn")->click();
    EXPECT_EQ(sources(), QStringList({s(u"/l/www/img")}));
    EXPECT_EQ(context().protocol.entries().last().text,
              s(u"Filter: the date \"31.02.2010\" cannot be read as a date; no record matches \"Date before\"."));
}

TEST_F(FilterWindow, EveryEvaluationLogsTheDescriptionWhenLogfilesAreWritten)
{
    const QString log = env.appDataFolder() + s(u"filter.log");
    open(FilterWindowMode::Transfer);
    fireTimer();
    EXPECT_FALSE(QFileInfo::exists(log)) << "not without \"Write logfiles\"";
    context().options.applyUnsaved(&OptionsData::logfiles, true);
    edit("TermEdit")->setText(s(u"index"));
    fireTimer();
    EXPECT_EQ(TestEnvironment::readFile(log), QByteArray("('index' in Filename) \r\n"));
    form().hide();
    open(FilterWindowMode::EditOnly); // no records evaluated, the description is logged all the same
    edit("TermEdit")->setText(s(u"home"));
    fireTimer();
    EXPECT_EQ(TestEnvironment::readFile(log), QByteArray("('home' in Filename) \r\n"));
}

TEST_F(FilterWindow, GotoSelectedFileAsksAndHandsBackTheChosenFile)
{
    QDir().mkpath(savedFilters());
    const QString withExtension = env.writeFile(s(u"ext.fil"), "[SETTINGS]\r\nExtension=htm\r\nExtensionIE=1\r\n");
    open(FilterWindowMode::Transfer);
    prompts.fileAnswers = {withExtension};
    button("LoadFilterBitBtn")->click();
    form().hide();

    open(FilterWindowMode::FindFiles);
    EXPECT_EQ(edit("ExtensionEdit")->text(), QString()) << "a search for files starts without an extension";
    EXPECT_EQ(combo("ExtensionIEComboBox")->currentIndex(), 0);
    prompts.clear();
    button("SearchFilesBitBtn")->click();
    EXPECT_TRUE(prompts.shown.isEmpty()) << "the criteria shown are evaluated first; then the user chooses";
    EXPECT_EQ(form().grid().rowCount(), 5);
    EXPECT_TRUE(form().isVisible());

    fireTimer();
    prompts.confirmAnswers = {false};
    button("SearchFilesBitBtn")->click();
    EXPECT_EQ(prompts.shown.last(), s(u"confirm: Goto: /www/index.php"));
    EXPECT_TRUE(form().isVisible());
    child<QTableView>("FilterNextGrid")->selectRow(3);
    prompts.confirmAnswers = {true};
    QTest::keyClick(edit("TermEdit"), Qt::Key_Return); // Enter is the mode's button
    EXPECT_EQ(prompts.shown.last(), s(u"confirm: Goto: /www/old.htm"));
    EXPECT_FALSE(form().isVisible());
    EXPECT_EQ(form().result(), QDialog::Accepted);
    EXPECT_EQ(form().chosenFile().remote, s(u"/www/old.htm"));
    EXPECT_EQ(form().chosenFile().local, s(u"/l/www/old.htm"));
}

TEST_F(FilterWindow, Step2WritesTheSearchQueueAndMovesTheTextFilesIntoTheWorkingFolder)
{
    const QString download = context().folders.downloadFolder();
    env.writeFile(QDir(env.root()).relativeFilePath(download + s(u"stale/left.txt")), "old\n");
    const QString box = s(u"/l/");
    form().setLocalPathSource([box] { return box; });
    QStringList records = Records;
    records << s(u"RETR|/www/manual.docx|/l/manual.docx\u00A71|manual.docx|9|20.05.2010 10:00")
            << s(u"DELE|/www/gone.txt\u00A71|gone.txt|1|20.05.2010 10:00");
    for (FilterWindowMode mode : {FilterWindowMode::SearchInFiles, FilterWindowMode::SearchAndReplace}) {
        open(mode, records);
        fireTimer();
        form().grid().setTicked(3, false); // old.htm
        (mode == FilterWindowMode::SearchInFiles ? button("SearchInFilesBitBtn") : button("SearchAndReplaceInFilesBitBtn"))->click();
        EXPECT_EQ(form().result(), QDialog::Accepted);
        EXPECT_FALSE(QFileInfo::exists(download + s(u"stale")));
        EXPECT_TRUE(QFileInfo(download).isDir());
        EXPECT_EQ(form().searchStepRecords(),
                  QStringList({s(u"RETR|/www/index.php|") + download + s(u"www/index.php\u00A71|index.php|1234|20.05.2010 23:59"),
                               s(u"RETR|/www/older.htm|") + download + s(u"www/older.htm\u00A71|older.htm|7|30.12.2009 23:59"),
                               s(u"DELE|/www/gone.txt")}));
        EXPECT_EQ(TestEnvironment::readFile(context().folders.tempFolder + s(u"SEARCH_QUEUE.TXT")),
                  QByteArray("RETR|/www/index.php|/l/www/index.php\xA7" "1|index.php|1234|20.05.2010 23:59\r\n"
                             "RETR|/www/older.htm|/l/www/older.htm\xA7" "1|older.htm|7|30.12.2009 23:59\r\n"
                             "DELE|/www/gone.txt\r\n"));
    }
}

TEST_F(FilterWindow, ExecuteClosesWithOkAndCloseWithout)
{
    open(FilterWindowMode::Transfer);
    fireTimer();
    form().grid().setTicked(1, false);
    QTest::keyClick(edit("TermEdit"), Qt::Key_Enter);
    EXPECT_EQ(form().result(), QDialog::Accepted);
    EXPECT_EQ(form().tickedRows().size(), 4);

    open(FilterWindowMode::Transfer);
    fireTimer();
    button("AbortBitBtn")->click();
    EXPECT_FALSE(form().isVisible());
    EXPECT_EQ(form().result(), QDialog::Rejected);
}

} // namespace
