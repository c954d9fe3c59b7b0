// The search window and the restore window in the running program, offscreen: the texts users
// see, searching while typing, applying on server and local working copies with their backups,
// view/edit through the built-in editor, go-to and the may-close switch.
#include "AppFixture.h"

#include "browser/BrowserController.h"
#include "browser/FileGridPane.h"
#include "editor/EditorForm.h"
#include "queue/QueueRunner.h"
#include "replace/BackupStore.h"
#include "replace/RestoreForm.h"
#include "replace/SearchAndReplaceForm.h"
#include "replace/SearchResultModel.h"
#include "shell/MainFormProgressView.h"
#include "shell/QueueWiring.h"
#include "shell/SearchWiring.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <Qsci/qsciscintilla.h>

using namespace Velmora;
using namespace Velmora::Testing;
using namespace Qt::StringLiterals;

namespace {

const QString S = QString(QChar(0xA7));

class SearchWindow : public AppFixture {
protected:
    void SetUp() override
    {
        existingProfile();
        ASSERT_TRUE(start());
        main().siteManagerTimer().stop();
        site = env.root() + u"site/"_s;
        QDir().mkpath(site);
        starter->browser().FillLocalGrid(site);
        // The server pane stands in "/www" (set as a listing sets it; no server is needed here).
        starter->browser().pane(BrowserSide::Server).setPathText(u"/www"_s);
        download = context().folders.downloadFolder();
        prompts.clear();
    }

    SearchAndReplaceForm &form() { return *starter->dialogs().searchAndReplace; }
    // The records the window prepared for the run that follows it.
    QStringList queue() { return form().session().transferRecords(); }
    QPushButton *button(const char *name) { return form().button(name); }

    void writeFile(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray read(const QString &path) { return TestEnvironment::readFile(path); }

    // Working copies of server files and the hand-over file that lists them.
    void serverFiles(const QList<std::pair<QString, QByteArray>> &files)
    {
        QStringList lines;
        for (const auto &[name, bytes] : files) {
            lines << u"RETR|/www/"_s + name + u'|' + site + name + S + u"1|"_s + name + u"|"_s
                    + QString::number(bytes.size()) + u"|01.02.2026 10:11:12"_s;
            writeFile(download + name, bytes);
        }
        handOver(lines);
    }
    // Local files, their working copies and the hand-over file.
    void localFiles(const QList<std::pair<QString, QByteArray>> &files)
    {
        QStringList lines;
        for (const auto &[name, bytes] : files) {
            lines << u"STOR|"_s + site + name + u"|/www/"_s + name + S + u"1|"_s + name + u"|1|01.02.2026 10:11:12"_s;
            writeFile(site + name, bytes);
            writeFile(download + name, bytes);
        }
        handOver(lines);
    }
    void handOver(const QStringList &lines)
    {
        QFile file(context().folders.tempFolder + u"SEARCH_QUEUE.TXT"_s);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (const QString &line : lines)
            file.write(line.toLatin1() + "\r\n");
    }

    QList<int> marks()
    {
        QList<int> result;
        for (const SearchEntry &entry : form().session().entries())
            result << entry.hitMark;
        return result;
    }
    void type(const QString &text)
    {
        form().searchEdit()->setFocus();
        QTest::keyClicks(form().searchEdit(), text);
    }
    void closeThroughFrame() { form().close(); }

    QString site;
    QString download;
};

// The charts of a run stay up for reading until the search window opens over the panes.
TEST_F(SearchWindow, OpeningGivesTheChartsPlaceBackToTheFilePanes)
{
    serverFiles({{u"a.html"_s, "<p>alpha</p>\n"}});
    starter->queue().view().showCharts();
    ASSERT_TRUE(w().chartsPanel->isVisibleTo(&main()));
    ASSERT_FALSE(w().gridSplitter->isVisibleTo(&main()));
    form().prepare(false);
    EXPECT_FALSE(w().chartsPanel->isVisibleTo(&main()));
    EXPECT_TRUE(w().gridSplitter->isVisibleTo(&main()));
}

TEST_F(SearchWindow, SearchModeShowsTheServerButtonsAndMarksWhileTyping)
{
    serverFiles({{u"a.html"_s, "<p>alpha</p>\n"}, {u"b.html"_s, "beta\n"}, {u"c.txt"_s, "alphabet\r\n"}});
    form().prepare(false);
    form().show();
    EXPECT_EQ(form().windowTitle(), context().captionText());
    EXPECT_EQ(form().topLabel()->text(), u"Search in files"_s);
    EXPECT_FALSE(form().modeComboBox()->isVisible());
    EXPECT_TRUE(form().searchEdit()->isVisible());
    EXPECT_FALSE(form().replaceEdit()->isVisible());
    EXPECT_FALSE(form().changedLabel()->isVisible());
    EXPECT_TRUE(button("DownloadSearchBitBtn")->isVisible());
    EXPECT_EQ(button("DownloadSearchBitBtn")->text(), u"Download files which include the search term"_s);
    EXPECT_FALSE(button("UploadSearchBitBtn")->isVisible());
    EXPECT_TRUE(button("SearchFilesBitBtn")->isVisible());
    EXPECT_EQ(button("SearchFilesBitBtn")->text(), u"Goto selected file"_s);
    EXPECT_FALSE(button("SearchAndReplaceServerBitBtn")->isVisible());
    EXPECT_EQ(button("BitBtn2")->text(), u"Close"_s);
    EXPECT_EQ(button("SelectAllBitBtn")->text(), u"Select all"_s);
    const QAbstractItemModel *model = form().grid()->model();
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), u"Server / Local File:"_s);
    EXPECT_EQ(model->headerData(5, Qt::Horizontal).toString(), u"Size:"_s);
    EXPECT_EQ(model->headerData(6, Qt::Horizontal).toString(), u"Date:"_s);
    EXPECT_TRUE(form().grid()->isColumnHidden(3));
    EXPECT_TRUE(form().grid()->isColumnHidden(4));
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->index(0, 2).data().toString(), u"/www/a.html"_s);
    EXPECT_EQ(model->index(0, 6).data().toString(), u"02/01/2026 10:11:12"_s);
    EXPECT_EQ(model->index(0, 1).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(form().grid()->currentIndex().row(), 0);

    type(u"al"_s);
    EXPECT_EQ(marks(), (QList<int>{1, 0, 1}));
    type(u"p"_s);
    EXPECT_EQ(marks(), (QList<int>{1, 0, 1}));
    type(u"h"_s);
    EXPECT_EQ(marks(), (QList<int>{1, 0, 1}));
    type(u"ab"_s);
    EXPECT_EQ(marks(), (QList<int>{0, 0, 1}));
    form().searchEdit()->clear();
    EXPECT_EQ(marks(), (QList<int>{0, 0, 0}));
    EXPECT_TRUE(form().progressLabel()->text().isEmpty());

    // The download button queues the selected rows with hits and closes with OK.
    type(u"alpha"_s);
    model = form().grid()->model();
    const_cast<QAbstractItemModel *>(model)->setData(model->index(2, 1), Qt::Unchecked, Qt::CheckStateRole);
    button("DownloadSearchBitBtn")->click();
    EXPECT_FALSE(form().isVisible());
    EXPECT_EQ(form().result(), QDialog::Accepted);
    EXPECT_EQ(queue(), QStringList{u"RETR|/www/a.html|"_s + site + u"a.html"_s + S + u"1|a.html|13|01.02.2026 10:11:12"_s});
}

TEST_F(SearchWindow, GoToAsksAndTheFrameCannotCloseAfterNo)
{
    localFiles({{u"a.txt"_s, "x\n"}});
    form().prepare(false);
    form().show();
    EXPECT_TRUE(button("UploadSearchBitBtn")->isVisible());
    EXPECT_FALSE(button("UploadSearchBitBtn")->isEnabled()) << "no server host is set";
    EXPECT_FALSE(button("DownloadSearchBitBtn")->isVisible());

    form().grid()->clearSelection();
    button("SearchFilesBitBtn")->click();
    EXPECT_EQ(prompts.shown, QStringList{u"information: Select first a file."_s});
    closeThroughFrame();
    EXPECT_TRUE(form().isVisible()) << "no row chosen clears the may-close switch";

    form().grid()->selectRow(0);
    prompts.confirmAnswers = {false};
    button("SearchFilesBitBtn")->click();
    EXPECT_EQ(prompts.shown.value(1), u"confirm: Goto: "_s + site + u"a.txt"_s);
    closeThroughFrame();
    EXPECT_TRUE(form().isVisible());
    QTest::keyClick(form().grid(), Qt::Key_Escape);
    EXPECT_FALSE(form().isVisible()) << "Escape closes all the same";
    EXPECT_EQ(form().result(), QDialog::Rejected);

    form().prepare(false);
    form().show();
    prompts.confirmAnswers = {true};
    button("SearchFilesBitBtn")->click();
    EXPECT_FALSE(form().isVisible());
    EXPECT_EQ(form().result(), QDialog::Accepted);
    EXPECT_EQ(starter->search().chosenLocalFile(), site + u"a.txt"_s);
    EXPECT_EQ(starter->search().chosenRemoteFile(), u"/www/a.txt"_s);
    EXPECT_EQ(form().session().action, SearchSession::Action::GoTo);
}

// Typing while an apply runs (the window processes events between files) must neither start a
// search that overwrites the marks of the changed files nor change the criteria: every changed
// copy is queued to go back.
TEST_F(SearchWindow, TypingDuringAnApplyLosesNoChangedFile)
{
    serverFiles({{u"1.txt"_s, "old\n"}, {u"2.txt"_s, "old\n"}, {u"3.txt"_s, "old\n"}});
    form().modeComboBox()->setCurrentIndex(0);
    form().prepare(true);
    form().show();
    type(u"old"_s);
    form().replaceEdit()->setText(u"new"_s);
    bool lockedDuringApply = false;
    QTimer::singleShot(0, &form(), [this, &lockedDuringApply] {
        lockedDuringApply = !form().searchEdit()->isEnabled();
        QTest::keyClicks(form().searchEdit(), u"x"_s);
    });
    button("SearchAndReplaceServerBitBtn")->click();
    EXPECT_TRUE(lockedDuringApply) << "the criteria can be changed while the apply runs";
    for (const QString &name : {u"1.txt"_s, u"2.txt"_s, u"3.txt"_s})
        EXPECT_EQ(read(download + name), "new\n") << name.toStdString();
    EXPECT_EQ(queue().size(), 3) << "a changed copy would not go back";
    EXPECT_TRUE(form().searchEdit()->isEnabled()) << "unlocked after the apply";
}

TEST_F(SearchWindow, AServerApplyBacksUpQueuesUploadsAndKeepsTheWindowOpen)
{
    serverFiles({{u"1.txt"_s, "old\n"}, {u"2.txt"_s, "old old\n"}, {u"3.txt"_s, "new\n"}, {u"4.txt"_s, "x\n"},
                 {u"5.txt"_s, "old\n"}});
    form().modeComboBox()->setCurrentIndex(0);
    form().prepare(true);
    form().show();
    EXPECT_EQ(form().topLabel()->text(), u"Search and replace in files"_s);
    EXPECT_EQ(form().changedLabel()->text(), u"0 changed files"_s);
    EXPECT_EQ(form().modeComboBox()->itemText(4), u"Insert lines at the beginning of the files"_s);
    EXPECT_TRUE(form().replaceEdit()->isVisible());
    EXPECT_EQ(form().replaceLineCheckBox()->text(), u"Replace line which includes the term completly"_s);
    EXPECT_EQ(button("SearchAndReplaceServerBitBtn")->text(), u"Search and replace in files"_s);
    EXPECT_EQ(button("ViewBiitBtn")->text(), u"View/Edit selected file"_s);
    EXPECT_EQ(button("UploadSearchAndReplaceBitBtn")->text(), u"Upload files back to server"_s);
    EXPECT_FALSE(button("UploadSearchAndReplaceBitBtn")->isEnabled());
    EXPECT_FALSE(button("SearchFilesBitBtn")->isVisible());
    EXPECT_TRUE(queue().isEmpty());

    type(u"old"_s);
    form().replaceEdit()->setText(u"new"_s);
    QAbstractItemModel *model = form().grid()->model();
    model->setData(model->index(4, 1), Qt::Unchecked, Qt::CheckStateRole); // 5.txt stays as it is
    button("SearchAndReplaceServerBitBtn")->click();
    EXPECT_EQ(prompts.shown, QStringList{u"information: Operation complete. 2 changed files. Press now \"Upload files back "
                                         "to server\" or do further operations!"_s});
    EXPECT_EQ(read(download + u"1.txt"_s), "new\n");
    EXPECT_EQ(read(download + u"2.txt"_s), "new new\n");
    EXPECT_EQ(read(download + u"3.txt"_s), "new\n");
    EXPECT_EQ(read(download + u"5.txt"_s), "old\n");
    // The backup holds the working copies from before the run.
    const QString backup = context().folders.tempFolder + u"BACKUP001/"_s;
    EXPECT_EQ(read(backup + u"1.txt"_s), "old\n");
    const QStringList index = QString::fromLatin1(read(backup + u"BACKUPINFO.VELMORA"_s)).split(u"\r\n"_s);
    EXPECT_EQ(index.mid(1, 6), (QStringList{u"Server"_s, u"Search and replace a term"_s, u"old"_s, u"new"_s, backup, u"/www"_s}));
    EXPECT_EQ(queue().size(), 2);
    EXPECT_EQ(queue().value(0), u"STOR|"_s + download + u"1.txt|/www/1.txt"_s + S + u"1|1.txt|4|01.02.2026 10:11:12"_s);
    EXPECT_TRUE(form().searchEdit()->text().isEmpty());
    EXPECT_EQ(marks(), (QList<int>{0, 0, 0, 0, 0}));
    EXPECT_TRUE(button("UploadSearchAndReplaceBitBtn")->isEnabled());

    // A second run changes one of them and one more file: three upload records, BACKUP002.
    prompts.clear();
    type(u"new"_s);
    form().replaceEdit()->setText(u"NEW"_s);
    form().replaceLineCheckBox()->setChecked(true);
    model->setData(model->index(1, 1), Qt::Unchecked, Qt::CheckStateRole);
    button("SearchAndReplaceServerBitBtn")->click();
    EXPECT_EQ(form().changedLabel()->text(), u"3 changed files"_s);
    EXPECT_EQ(queue().size(), 3);
    EXPECT_EQ(read(download + u"3.txt"_s), "NEW\n");
    // Nothing went up in between: the second backup holds what the server has, not the first
    // run's change.
    EXPECT_EQ(read(context().folders.tempFolder + u"BACKUP002/1.txt"_s), "old\n");
    EXPECT_EQ(read(context().folders.tempFolder + u"BACKUP002/3.txt"_s), "new\n");

    closeThroughFrame();
    EXPECT_TRUE(form().isVisible()) << "after a server apply only the buttons close the window";
    button("UploadSearchAndReplaceBitBtn")->click();
    EXPECT_FALSE(form().isVisible());
    EXPECT_EQ(form().result(), QDialog::Accepted);
    EXPECT_EQ(form().session().action, SearchSession::Action::Transfer);
}

TEST_F(SearchWindow, OperationsWithoutATermMarkEverythingAndInsertLines)
{
    serverFiles({{u"a.php"_s, "<?php\n"}, {u"b.php"_s, "echo;\n"}});
    form().prepare(true);
    form().modeComboBox()->setCurrentIndex(4);
    form().show();
    EXPECT_FALSE(form().searchEdit()->isVisible());
    EXPECT_TRUE(form().edgeLinesMemo()->isVisible());
    EXPECT_EQ(marks(), (QList<int>{1, 1}));
    form().edgeLinesMemo()->setPlainText(u"a\nb"_s);
    button("SearchAndReplaceServerBitBtn")->click();
    EXPECT_EQ(read(download + u"a.php"_s), "a\nb\n<?php\n");
    const QStringList index = QString::fromLatin1(read(context().folders.tempFolder + u"BACKUP001/BACKUPINFO.VELMORA"_s)).split(u"\r\n"_s);
    EXPECT_EQ(index.value(3), u" "_s);
    EXPECT_EQ(index.value(4), u"a..."_s);

    // Replace files: without a source the file dialog asks; cancelling writes nothing but the
    // backup stays.
    form().modeComboBox()->setCurrentIndex(1);
    EXPECT_TRUE(form().sourceButton()->isVisible());
    EXPECT_EQ(form().sourceButton()->text(), u"Choose source file"_s);
    prompts.clear();
    button("SearchAndReplaceServerBitBtn")->click();
    EXPECT_EQ(prompts.shown, QStringList{u"openFile: Choose source file"_s});
    EXPECT_EQ(read(download + u"b.php"_s), "a\nb\necho;\n");
    EXPECT_TRUE(QFileInfo::exists(context().folders.tempFolder + u"BACKUP002"_s));

    // The operation stays for the next opening; a search-mode opening searches with the term.
    form().reject();
    form().prepare(true);
    EXPECT_EQ(form().modeComboBox()->currentIndex(), 1);
    form().prepare(false);
    EXPECT_EQ(marks(), (QList<int>{0, 0}));
    form().searchEdit()->setText(u"echo"_s);
    EXPECT_EQ(marks(), (QList<int>{0, 1}));
}

TEST_F(SearchWindow, ALocalApplyCopiesBackAtOnceAndCountsEachCopy)
{
    localFiles({{u"page.html"_s, "Hallo Welt\n"}, {u"other.html"_s, "nothing\n"}});
    form().modeComboBox()->setCurrentIndex(0);
    form().prepare(true);
    form().show();
    EXPECT_TRUE(button("SearchAndReplaceLocalBitBtn")->isVisible());
    EXPECT_EQ(button("SearchAndReplaceLocalBitBtn")->text(), u"Search and replace in local files"_s);
    EXPECT_FALSE(button("SearchAndReplaceServerBitBtn")->isVisible());
    type(u"Welt"_s);
    form().replaceEdit()->setText(u"World"_s);
    button("SearchAndReplaceLocalBitBtn")->click();
    EXPECT_EQ(prompts.shown, QStringList{u"information: Operation complete. 1 changed files."_s});
    EXPECT_EQ(read(site + u"page.html"_s), "Hallo World\n");
    EXPECT_EQ(read(site + u"other.html"_s), "nothing\n");
    const QString backup = context().folders.tempFolder + u"BACKUP001/"_s;
    EXPECT_EQ(read(backup + u"page.html"_s), "Hallo Welt\n");
    EXPECT_EQ(QString::fromLatin1(read(backup + u"BACKUPINFO.VELMORA"_s)).split(u"\r\n"_s).value(6), site);

    type(u"World"_s);
    form().replaceEdit()->setText(u"Erde"_s);
    button("SearchAndReplaceLocalBitBtn")->click();
    EXPECT_EQ(form().changedLabel()->text(), u"2 changed files"_s);
    EXPECT_EQ(read(site + u"page.html"_s), "Hallo Erde\n");
    EXPECT_TRUE(queue().isEmpty());
    closeThroughFrame();
    EXPECT_FALSE(form().isVisible()) << "a local apply leaves the window free to close";
}

TEST_F(SearchWindow, AWorkingCopyThatCannotBeReadStopsTheRunWithAClearMessage)
{
    serverFiles({{u"1.txt"_s, "old\n"}, {u"2.txt"_s, "old\n"}, {u"3.txt"_s, "old\n"}});
    form().modeComboBox()->setCurrentIndex(0);
    form().prepare(true);
    form().show();
    // The second working copy turns into a folder after the window listed it.
    QFile::remove(download + u"2.txt"_s);
    QDir().mkpath(download + u"2.txt"_s);
    type(u"old"_s);
    prompts.clear();
    form().replaceEdit()->setText(u"new"_s);
    button("SearchAndReplaceServerBitBtn")->click();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown.at(0), u"error: The file cannot be read: "_s + download
                                       + u"2.txt The operation stopped at this file. The files before it were changed (1 changed "
                                         "files); the backup holds every file as it was before."_s);
    // The file before it was changed and goes to the server; the one after it is untouched.
    EXPECT_EQ(read(download + u"1.txt"_s), "new\n");
    EXPECT_EQ(read(download + u"3.txt"_s), "old\n");
    EXPECT_EQ(queue(), QStringList{u"STOR|"_s + download + u"1.txt|/www/1.txt"_s + S + u"1|1.txt|4|01.02.2026 10:11:12"_s});
    EXPECT_EQ(read(context().folders.tempFolder + u"BACKUP001/1.txt"_s), "old\n");
}

TEST_F(SearchWindow, AWorkingCopyThatCannotBeBackedUpIsNeverChanged)
{
    localFiles({{u"a.txt"_s, "old\n"}, {u"b.txt"_s, "old\n"}});
    form().modeComboBox()->setCurrentIndex(0);
    form().prepare(true);
    QFile::setPermissions(download + u"b.txt"_s, QFileDevice::Permissions());
    if (QFile(download + u"b.txt"_s).open(QIODevice::ReadOnly))
        GTEST_SKIP() << "running with rights that read any file";
    type(u"old"_s);
    form().replaceEdit()->setText(u"new"_s);
    prompts.clear();
    button("SearchAndReplaceLocalBitBtn")->click();
    EXPECT_EQ(prompts.shown, QStringList{u"error: The backup could not be made completely, so no file was changed. Not copied: b.txt"_s});
    EXPECT_EQ(read(download + u"a.txt"_s), "old\n");
    EXPECT_EQ(read(site + u"a.txt"_s), "old\n");
    QFile::setPermissions(download + u"b.txt"_s, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(SearchWindow, ViewEditOpensTheEditorAndASaveCountsAsAChange)
{
    serverFiles({{u"logo.png"_s, "\x89PNG"}, {u"index.html"_s, "<p>\n"}});
    form().prepare(true);
    form().show();
    form().grid()->clearSelection();
    button("ViewBiitBtn")->click();
    form().grid()->selectRow(0);
    button("ViewBiitBtn")->click();
    EXPECT_EQ(prompts.shown, (QStringList{u"information: Select first a file."_s, u"information: Unable to view/edit file."_s}));

    prompts.clear();
    form().grid()->selectRow(1);
    EditorForm *editor = starter->dialogs().editor;
    QTimer::singleShot(0, editor, [editor] {
        EXPECT_FALSE(editor->saveAsEnabled());
        editor->textEdit()->setText(u"<h1>"_s);
        editor->save();
        editor->reject();
    });
    button("ViewBiitBtn")->click();
    EXPECT_EQ(read(download + u"index.html"_s), "<h1>\n");
    EXPECT_EQ(prompts.shown, QStringList{u"information: Operation complete. 1 changed files. Press now \"Upload files back to "
                                         "server\" or do further operations!"_s});
    EXPECT_TRUE(button("UploadSearchAndReplaceBitBtn")->isEnabled());
    EXPECT_EQ(queue().size(), 1);
    const QString backup = context().folders.tempFolder + u"BACKUP001/"_s;
    EXPECT_EQ(QString::fromLatin1(read(backup + u"BACKUPINFO.VELMORA"_s)).split(u"\r\n"_s).mid(2, 3),
              (QStringList{u"Edited by editor"_s, u"index.html"_s, u" "_s}));
    EXPECT_TRUE(editor->saveAsEnabled());
}

// A row whose working copy is binary (NUL bytes, UTF-16) by its bytes, whatever its name, is
// listed as such from the start, not ticked, and never reaches the editor as text; "Select all"
// leaves it out, so no operation, not even "Replace files by another file", takes it unless the
// user ticks it himself.
TEST_F(SearchWindow, BinaryRowsAreListedUntickedAndNeverReachTheEditor)
{
    const QByteArray data("old\r\n\0\x01\x02 binary old \xFF\r\n", 23);
    const QByteArray wide("\xFF\xFEo\0l\0d\0", 8);
    serverFiles({{u"datafile"_s, data}, {u"wide.txt"_s, wide}, {u"index.html"_s, "<p>old</p>\n"}});
    form().prepare(true);
    form().show();
    const QList<SearchEntry> &entries = form().session().entries();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_TRUE(entries[0].binary && entries[1].binary);
    EXPECT_FALSE(entries[0].selected || entries[1].selected) << "a binary row is not ticked";
    EXPECT_TRUE(entries[2].selected);
    EXPECT_EQ(form().grid()->model()->index(0, SearchResultModel::MarkColumn).data().toString(), u"binary"_s);
    const int shownWidth = form().grid()->fontMetrics().horizontalAdvance(u"binary"_s);
    EXPECT_GT(form().grid()->columnWidth(SearchResultModel::MarkColumn), shownWidth) << "the mark is shown whole";

    EditorForm *editor = starter->dialogs().editor;
    bool editorOpened = false;
    QTimer::singleShot(0, editor, [&] { editorOpened = editor->isVisible(); editor->reject(); });
    for (int row : {0, 1}) {
        prompts.clear();
        form().grid()->selectRow(row);
        button("ViewBiitBtn")->click();
        EXPECT_EQ(prompts.shown, QStringList{u"information: Unable to view/edit file."_s});
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(editorOpened);

    // "Select all" ticks the text rows; "Replace files by another file" leaves the binary ones.
    form().button("UnselectAllBitBtn")->click();
    form().button("SelectAllBitBtn")->click();
    EXPECT_EQ(QList<bool>({entries[0].selected, entries[1].selected, entries[2].selected}), QList<bool>({false, false, true}));
    form().modeComboBox()->setCurrentIndex(1);
    form().sourceFileEdit()->setText(env.writeFile(u"source.html"_s, "<p>source</p>\n"));
    prompts.clear();
    button("SearchAndReplaceServerBitBtn")->click();
    EXPECT_EQ(read(download + u"datafile"_s), data);
    EXPECT_EQ(read(download + u"wide.txt"_s), wide);
    EXPECT_EQ(read(download + u"index.html"_s), "<p>source</p>\n");
    EXPECT_EQ(queue().size(), 1);

    // Ticked by hand, on purpose: then it is replaced.
    form().model()->setData(form().model()->index(0, SearchResultModel::SelectedColumn), Qt::Checked, Qt::CheckStateRole);
    form().modeComboBox()->setCurrentIndex(1);
    form().sourceFileEdit()->setText(env.writeFile(u"source.bin"_s, QByteArray("new\0bin", 7)));
    button("SearchAndReplaceServerBitBtn")->click();
    EXPECT_EQ(read(download + u"datafile"_s), QByteArray("new\0bin", 7));
    form().reject();
}

// The backup of an apply holds what the server has: a file edited in the editor before (not
// uploaded yet) is backed up with the server's bytes, not the editor's, and so is a file a
// second apply changes again.
TEST_F(SearchWindow, AnApplysBackupHoldsWhatTheServerHasNotEarlierUnsentChanges)
{
    serverFiles({{u"a.html"_s, "<p>old a</p>\n"}, {u"b.html"_s, "<p>old b</p>\n"}});
    form().prepare(true);
    form().show();
    EditorForm *editor = starter->dialogs().editor;
    for (int row : {0, 1}) {
        QTimer::singleShot(0, editor, [editor] {
            editor->textEdit()->setText(editor->textEdit()->text().replace(u"<p>"_s, u"<p>edited "_s));
            editor->save();
            editor->reject();
        });
        form().grid()->selectRow(row);
        button("ViewBiitBtn")->click();
    }
    ASSERT_EQ(read(download + u"a.html"_s), "<p>edited old a</p>\n");

    form().modeComboBox()->setCurrentIndex(0);
    form().searchEdit()->setText(u"old"_s);
    form().replaceEdit()->setText(u"new"_s);
    button("SearchAndReplaceServerBitBtn")->click();
    form().searchEdit()->setText(u"new"_s);
    form().replaceEdit()->setText(u"newer"_s);
    button("SearchAndReplaceServerBitBtn")->click();
    ASSERT_EQ(read(download + u"b.html"_s), "<p>edited newer b</p>\n");
    const QString temp = context().folders.tempFolder;
    EXPECT_EQ(read(temp + u"BACKUP001/a.html"_s), "<p>old a</p>\n") << "the editor's backup";
    EXPECT_EQ(read(temp + u"BACKUP002/b.html"_s), "<p>old b</p>\n");
    for (const QString &backup : {u"BACKUP003/"_s, u"BACKUP004/"_s}) {
        SCOPED_TRACE(backup.toStdString());
        EXPECT_EQ(read(temp + backup + u"a.html"_s), "<p>old a</p>\n");
        EXPECT_EQ(read(temp + backup + u"b.html"_s), "<p>old b</p>\n");
    }
    form().reject();
}

// A file whose upload back failed while the server kept it as it was: the window's backups no
// longer hold it, so a restore neither puts it back nor reports it as not back; the other
// changed files stay in the backup.
TEST_F(SearchWindow, AFileTheServerKeptUnchangedLeavesTheWindowsBackups)
{
    serverFiles({{u"a.html"_s, "<p>old a</p>\n"}, {u"sub/b.html"_s, "<p>old b</p>\n"}});
    form().prepare(true);
    form().show();
    form().modeComboBox()->setCurrentIndex(0);
    form().searchEdit()->setText(u"old"_s);
    form().replaceEdit()->setText(u"new"_s);
    button("SearchAndReplaceServerBitBtn")->click();
    const QString backup = context().folders.tempFolder + u"BACKUP001/"_s;
    ASSERT_EQ(read(backup + u"sub/b.html"_s), "<p>old b</p>\n");
    form().forgetUntouched({download + u"sub/b.html"_s});
    EXPECT_FALSE(QFileInfo::exists(backup + u"sub/b.html"_s));
    EXPECT_FALSE(QFileInfo::exists(backup + u"sub"_s)) << "a folder left empty goes too";
    EXPECT_EQ(read(backup + u"a.html"_s), "<p>old a</p>\n");
    EXPECT_TRUE(QFileInfo::exists(backup + u"BACKUPINFO.VELMORA"_s));
    form().reject();
}

TEST_F(SearchWindow, ALocalEditGoesBackToTheLocalFileAndItsBackupKeepsTheOldText)
{
    localFiles({{u"notes.txt"_s, "first\n"}});
    form().prepare(true);
    form().show();
    EditorForm *editor = starter->dialogs().editor;
    QTimer::singleShot(0, editor, [editor] {
        editor->textEdit()->setText(u"second"_s);
        editor->save();
        editor->reject();
    });
    button("BitBtn1")->click();
    EXPECT_EQ(prompts.shown, QStringList{u"information: Operation complete. 1 changed files."_s});
    EXPECT_EQ(read(site + u"notes.txt"_s), "second\n");
    EXPECT_EQ(read(context().folders.tempFolder + u"BACKUP001/notes.txt"_s), "first\n");

    // Closing without a save changes nothing and counts nothing.
    QTimer::singleShot(0, editor, [editor] { editor->reject(); });
    button("BitBtn1")->click();
    EXPECT_EQ(form().changedLabel()->text(), u"1 changed files"_s);
}

TEST_F(SearchWindow, GermanTexts)
{
    context().language.setCurrent(Language::German);
    serverFiles({{u"a.txt"_s, "a\n"}});
    form().prepare(true);
    EXPECT_EQ(form().topLabel()->text(), u"Suchen und Ersetzen in Dateien"_s);
    EXPECT_EQ(form().changedLabel()->text(), QString::fromUtf8("0 geänderte Dateien"));
    EXPECT_EQ(button("UploadSearchAndReplaceBitBtn")->text(), QString::fromUtf8("Dateien zurück auf den Server laden"));
    EXPECT_EQ(form().replaceLineCheckBox()->text(), QString::fromUtf8("Zeile, welche den Suchbegriff enthält, komplett ersetzen"));
    form().prepare(false);
    EXPECT_EQ(form().topLabel()->text(), u"in Dateien suchen"_s);
    EXPECT_EQ(button("DownloadSearchBitBtn")->text(), u"Dateien, welche den Suchbegriff beinhalten, herunterladen"_s);
    prompts.confirmAnswers = {false};
    button("SearchFilesBitBtn")->click();
    EXPECT_EQ(prompts.shown.value(0), u"confirm: Gehe zu:/www/a.txt"_s);
}

TEST_F(SearchWindow, TheRestoreWindowListsBackupsAndAsksBeforeRestoring)
{
    RestoreForm &restore = *starter->dialogs().restore;
    restore.prepare();
    EXPECT_FALSE(restore.restoreButton()->isEnabled()) << "no backups";
    EXPECT_EQ(restore.headerTitle(), u"Restore"_s);
    EXPECT_EQ(restore.restoreButton()->text(), u"Restore"_s);
    EXPECT_EQ(restore.abortButton()->text(), u"Abort"_s);

    writeFile(download + u"a.txt"_s, "a");
    BackupStore &store = restore.store();
    store.CreateBackup(u"Server"_s, BackupOperation::forReplace(ReplaceMode::ReplaceTerm, context().language, u"a"_s, u"b"_s, {}, {}, {}),
                       u"/www"_s, download);
    store.CreateBackup(u"Local"_s, BackupOperation::forEditor(context().language, u"a.txt"_s), site, download);
    restore.prepare();
    restore.show();
    const QAbstractItemModel *model = restore.grid()->model();
    ASSERT_EQ(model->rowCount(), 2);
    QStringList headers;
    for (int column = 0; column < model->columnCount(); ++column)
        headers << model->headerData(column, Qt::Horizontal).toString();
    EXPECT_EQ(headers, (QStringList{u"Backup time:"_s, u"Changed at:"_s, u"Operation:"_s, u"Search:"_s, u"Replace;"_s,
                                    u"Backup path:"_s, u"Dest path"_s}));
    EXPECT_TRUE(restore.grid()->isColumnHidden(5));
    EXPECT_TRUE(restore.grid()->isColumnHidden(6));
    EXPECT_EQ(model->index(1, 2).data().toString(), u"Edited by editor"_s);
    EXPECT_TRUE(restore.restoreButton()->isEnabled());
    EXPECT_EQ(restore.grid()->currentIndex().row(), 0);

    const QString time = model->index(0, 0).data().toString();
    prompts.confirmAnswers = {false};
    restore.restoreButton()->click();
    EXPECT_EQ(prompts.shown, QStringList{u"confirm: Restore the backup from: "_s + time + u" - Search: a - Replace: b"_s});
    EXPECT_TRUE(restore.isVisible());

    restore.grid()->selectRow(1);
    prompts.confirmAnswers = {true};
    QTest::keyClick(restore.grid(), Qt::Key_Return);
    EXPECT_FALSE(restore.isVisible());
    EXPECT_EQ(restore.result(), QDialog::Accepted);
    EXPECT_EQ(restore.chosen().kind, u"Local"_s);
    EXPECT_EQ(restore.chosen().destinationPath, site);
    EXPECT_EQ(restore.chosen().backupPath, context().folders.tempFolder + u"BACKUP002/"_s);
}

} // namespace
