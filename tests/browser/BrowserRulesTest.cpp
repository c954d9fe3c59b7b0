// Texts and rules of the panes: file type texts, status lines, selection rules, command keys.
#include "QtPrinters.h"

#include "browser/FileGridEntry.h"
#include "browser/GridCommandDispatcher.h"
#include "browser/ListingSummary.h"
#include "browser/SelectionRule.h"
#include "app/TypeAheadSearch.h"
#include "common/Language.h"

#include <gtest/gtest.h>

using namespace Velmora;

TEST(FileTypeTextTest, ExtensionInUpperCaseWithoutDots)
{
    Language language;
    const std::pair<const char16_t *, const char16_t *> files[] = {
        {u"report.txt", u"TXT-Datei"}, {u"archive.tar.gz", u"GZ-Datei"}, {u"Makefile", u"Datei"},
        {u"a.b.c", u"C-Datei"}, {u".bashrc", u"BASHRC-Datei"}, {u"trailing.", u"-Datei"}, {u"straße.gzß", u"GZSS-Datei"}};
    for (const auto &[name, type] : files)
        EXPECT_EQ(FileTypeText(FileGridEntry::File, QString::fromUtf16(name), &language), QString::fromUtf16(type));
    EXPECT_EQ(FileTypeText(FileGridEntry::Folder, u"x.y"_qs, &language), u"Directory"_qs);
    EXPECT_EQ(FileTypeText(FileGridEntry::Link, u"x.y"_qs, &language), u"Link"_qs);
    language.setCurrent(Language::German);
    EXPECT_EQ(FileTypeText(FileGridEntry::Folder, u"x"_qs, &language), u"Ordner"_qs);
    EXPECT_EQ(FileTypeText(FileGridEntry::File, u"x.pdf"_qs, &language), u"PDF-Datei"_qs);
}

TEST(ListingSummaryTest, StatusLineInBothLanguages)
{
    Language language;
    struct Case {
        qint64 files, folders, total;
        const char16_t *english, *german;
    };
    const Case cases[] = {
        {0, 0, 0, u" 0 Files and 0 Directories. Total Size: 0  bytes", u" 0 Dateien und 0 Ordner. Gesamtgröße: 0  bytes"},
        {3, 1, 1536, u" 3 Files and 1 Directory. Total Size: 1.536  bytes  (1.50 kB)",
         u" 3 Dateien und 1 Ordner. Gesamtgröße: 1.536  bytes  (1.50 kB)"},
        {1, 2, 1048576, u" 1 File and 2 Directories. Total Size: 1.048.576  bytes  (1.00 MB)",
         u" 1 Datei und 2 Ordner. Gesamtgröße: 1.048.576  bytes  (1.00 MB)"},
    };
    for (const Case &c : cases) {
        const ListingSummary summary{c.files, c.folders, c.total};
        language.setCurrent(Language::English);
        EXPECT_EQ(summary.statusText(&language), QString::fromUtf16(c.english));
        language.setCurrent(Language::German);
        EXPECT_EQ(summary.statusText(&language), QString::fromUtf16(c.german));
    }
}

TEST(SelectionRuleTest, FourRulesOverTheSelectedRows)
{
    const SelectedRow parent{EntryKind::Folder, u".."_qs}, folder{EntryKind::Folder, u"docs"_qs},
        file{EntryKind::File, u"a.txt"_qs}, link{EntryKind::Link, u"l"_qs};
    struct Case {
        QList<SelectedRow> selected;
        const SelectedRow *focused;
        bool met[4];
    };
    const Case cases[] = {
        {{}, nullptr, {false, false, false, false}},
        {{parent}, nullptr, {false, false, false, false}},
        {{folder}, nullptr, {false, true, false, true}},
        {{file}, nullptr, {true, true, true, false}},
        {{link}, nullptr, {true, true, false, false}},
        {{parent, file}, nullptr, {false, true, true, false}},   // the first selected row counts
        {{parent, file}, &file, {true, true, true, false}},      // unless another one has the focus
        {{file, folder}, &folder, {false, true, true, true}},
    };
    for (const Case &c : cases) {
        for (int rule = 0; rule < 4; ++rule)
            EXPECT_EQ(IsSelectionRuleMet(SelectionRule(rule), c.selected, c.focused), c.met[rule])
                << "rule " << rule << " rows " << c.selected.size();
    }
}

TEST(SelectionRuleTest, MessagesInBothLanguages)
{
    Language language;
    const QStringList english = {u"Select first a file."_qs, u"Select first a file or a directory."_qs,
                                 u"Please select minimum one file!"_qs, u"Please select minimum one directory!"_qs};
    const QStringList german = {u"Bitte zuerst eine Datei auswählen."_qs, u"Bitte zuerst eine Datei oder einen Ordner auswählen."_qs,
                                u"Bitte wählen Sie minimal eine Datei aus!"_qs, u"Bitte wählen Sie minimal einen Ordner aus!"_qs};
    for (int rule = 0; rule < 4; ++rule) {
        language.setCurrent(Language::English);
        EXPECT_EQ(SelectionRuleMessage(SelectionRule(rule), &language), english[rule]);
        language.setCurrent(Language::German);
        EXPECT_EQ(SelectionRuleMessage(SelectionRule(rule), &language), german[rule]);
    }
}

TEST(GridCommandDispatcherTest, KeysAloneStartTheirCommandsOnTheirSide)
{
    GridCommandDispatcher dispatcher;
    QStringList ran;
    for (int c = 0; c < GridCommandCount; ++c) {
        dispatcher.setHandler(GridCommand(c), [&ran, c](BrowserSide side) {
            ran << QString::number(c) + (side == BrowserSide::Local ? u'L' : u'S');
        });
    }
    const std::pair<int, const char16_t *> keys[] = {
        {Qt::Key_F3, u"0"}, {Qt::Key_F4, u"1"}, {Qt::Key_F5, u"2"}, {Qt::Key_F6, u"3"}, {Qt::Key_F7, u"4"},
        {Qt::Key_F8, u"5"}, {Qt::Key_Delete, u"5"}, {Qt::Key_F9, u"6"}, {Qt::Key_F10, u"7"}};
    for (const auto &[key, command] : keys) {
        for (BrowserSide side : {BrowserSide::Local, BrowserSide::Server}) {
            ran.clear();
            EXPECT_TRUE(dispatcher.dispatchKey(side, key, Qt::NoModifier));
            EXPECT_EQ(ran, QStringList{QString::fromUtf16(command) + (side == BrowserSide::Local ? u'L' : u'S')});
        }
    }
    ran.clear();
    EXPECT_TRUE(dispatcher.dispatchKey(BrowserSide::Server, Qt::Key_F11, Qt::NoModifier));
    EXPECT_FALSE(dispatcher.dispatchKey(BrowserSide::Local, Qt::Key_F11, Qt::NoModifier));
    EXPECT_TRUE(dispatcher.dispatchKey(BrowserSide::Local, Qt::Key_Delete, Qt::KeypadModifier));
    EXPECT_FALSE(dispatcher.dispatchKey(BrowserSide::Local, Qt::Key_F5, Qt::ShiftModifier));
    EXPECT_FALSE(dispatcher.dispatchKey(BrowserSide::Local, Qt::Key_F4, Qt::AltModifier));
    EXPECT_FALSE(dispatcher.dispatchKey(BrowserSide::Local, Qt::Key_F12, Qt::NoModifier));
    EXPECT_FALSE(dispatcher.dispatchKey(BrowserSide::Local, Qt::Key_A, Qt::NoModifier));
    EXPECT_EQ(ran, (QStringList{u"8S"_qs, u"5L"_qs}));

    // A command nobody has built yet does nothing, and the key goes on to whoever else wants it.
    GridCommandDispatcher empty;
    EXPECT_FALSE(empty.hasHandler(GridCommand::Rename));
    EXPECT_FALSE(empty.dispatchKey(BrowserSide::Local, Qt::Key_F6, Qt::NoModifier));
}

TEST(TypeAheadSearchTest, OneBurstPerTimerAndFirstRowWhenNothingMatches)
{
    TypeAheadSearch search;
    EXPECT_EQ(search.addText(u"r"_qs), u"r"_qs);
    EXPECT_TRUE(search.resetTimer().isActive());
    const int remaining = search.resetTimer().remainingTime();
    EXPECT_EQ(search.addText(u"E"_qs), u"rE"_qs);
    EXPECT_LE(search.resetTimer().remainingTime(), remaining); // later keys do not restart it
    const QStringList names = {u".."_qs, u"alpha"_qs, u"Readme"_qs, u"record"_qs};
    EXPECT_EQ(TypeAheadSearch::findRow(4, [&names](int row) { return names[row]; }, search.buffer()), 2);
    QMetaObject::invokeMethod(&search.resetTimer(), "timeout", Qt::DirectConnection);
    EXPECT_TRUE(search.buffer().isEmpty());
    EXPECT_FALSE(search.resetTimer().isActive());
    EXPECT_EQ(TypeAheadSearch::findRow(names, u"x"_qs), 0);
    EXPECT_EQ(TypeAheadSearch::findRow(QStringList(), u"x"_qs), -1);
}
