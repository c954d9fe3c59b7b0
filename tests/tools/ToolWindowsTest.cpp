// The three tool windows offscreen: their exact texts in both languages, the permission boxes
// and value kept in step, the rename preview following every input, and the copy window's
// file choice.
#include "AppFixture.h"
#include "QtPrinters.h"
#include "WhenShown.h"

#include "app/DialogHeader.h"
#include "app/ProtocolLog.h"
#include "tools/CopyFileToEachDirForm.h"
#include "tools/MultiRenameToolForm.h"
#include "tools/PermissionForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QString S(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

class ToolWindows : public AppFixture {
protected:
    void SetUp() override
    {
        existingProfile();
        ASSERT_TRUE(start());
        prompts.clear();
    }
    PermissionForm &permissions() { return *starter->dialogs().permissions; }
    MultiRenameToolForm &rename() { return *starter->dialogs().multiRename; }
    CopyFileToEachDirForm &copy() { return *starter->dialogs().copyToEachDir; }

    template <typename T>
    static QString textOf(QWidget &form, const char *name)
    {
        T *widget = form.findChild<T *>(QString::fromLatin1(name));
        if (!widget)
            return QStringLiteral("<missing ") + QString::fromLatin1(name) + u'>';
        if constexpr (std::is_same_v<T, QGroupBox>)
            return widget->title();
        else
            return widget->text();
    }
    QString boxes()
    {
        QString text;
        const char letters[] = "rwxrwxrwx";
        for (int bit = 0; bit < 9; ++bit)
            text += permissions().box(bit)->isChecked() ? QChar::fromLatin1(letters[bit]) : u'-';
        return text;
    }
    void typeValue(const QString &value)
    {
        QLineEdit *edit = permissions().valueEdit();
        edit->selectAll();
        QTest::keyClicks(edit, value);
    }
    // Runs after the dialog opens; closes it with a key.
    static void whenShown(QDialog &form, std::function<void()> act)
    {
        WhenShown::act(form, std::move(act));
    }
};

} // namespace

TEST_F(ToolWindows, ThePermissionDialogShowsItsTextsInBothLanguages)
{
    PermissionForm &form = permissions();
    form.prepare(true, S("-rwxr-xr-x"));
    form.show();
    EXPECT_EQ(form.windowTitle(), context().captionText());
    EXPECT_EQ(form.header()->title(), S("File permissions"));
    EXPECT_EQ(form.header()->objectName(), S("Label3"));
    const std::pair<const char *, const char *> english[] = {
        {"Label1", "Please select the new attributes"}, {"ROCheckBox", "Read"}, {"WOCheckBox", "Write"},
        {"EOCheckBox", "Execute"}, {"RPCheckBox", "Read"}, {"EPCheckBox", "Execute"}, {"Label2", "Numeric value:"},
        {"RecursiveCheckBox", "Recurse in subdirectories"}, {"FileAndDirRadioButton", "Apply to all files and directories"},
        {"FileRadioButton", "Apply to files only"}, {"DirRadioButton", "Apply to directories only"},
        {"BitBtn1", "OK"}, {"BitBtn2", "Abort"}};
    for (const auto &[name, caption] : english) {
        QWidget *widget = form.findChild<QWidget *>(QString::fromLatin1(name));
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_EQ(widget->property("text").toString(), S(caption)) << name;
    }
    EXPECT_EQ(textOf<QGroupBox>(form, "GroupBox1"), S("Owner permissions"));
    EXPECT_EQ(textOf<QGroupBox>(form, "GroupBox2"), S("Group permissions"));
    EXPECT_EQ(textOf<QGroupBox>(form, "GroupBox3"), S("Public permissions"));
    EXPECT_EQ(textOf<QGroupBox>(form, "RecursiveGroupBox"), S("Recursive"));

    context().language.setCurrent(Language::German);
    EXPECT_EQ(form.header()->title(), S("Datei Berechtigungen"));
    EXPECT_EQ(textOf<QLabel>(form, "Label1"), S("Bitte wählen Sie die neuen Attribute"));
    EXPECT_EQ(textOf<QLabel>(form, "Label2"), S("Wert;"));
    EXPECT_EQ(textOf<QGroupBox>(form, "RecursiveGroupBox"), S("Rekursiv"));
    EXPECT_EQ(textOf<QCheckBox>(form, "RecursiveCheckBox"), S("Rekursiv in alle Ordner"));
    EXPECT_EQ(textOf<QRadioButton>(form, "FileAndDirRadioButton"), S("Auf Dateien und Ordner anwenden"));
    EXPECT_EQ(textOf<QRadioButton>(form, "FileRadioButton"), S("Nur auf Dateien anwenden"));
    EXPECT_EQ(textOf<QRadioButton>(form, "DirRadioButton"), S("Nur auf Ordner anwenden"));
    EXPECT_EQ(textOf<QPushButton>(form, "BitBtn2"), S("Abbrechen"));
    form.hide();
}

TEST_F(ToolWindows, BoxesFollowTheValueAsTypedAndTheValueFollowsTheBoxes)
{
    PermissionForm &form = permissions();
    form.prepare(false, S("-rw-r--r--"));
    EXPECT_EQ(boxes(), S("rw-r--r--"));
    EXPECT_EQ(form.valueEdit()->text(), S("644"));
    EXPECT_FALSE(form.box(PermissionBits::OwnerRead)->isEnabled());
    EXPECT_FALSE(form.box(PermissionBits::OwnerExecute)->isEnabled());
    EXPECT_TRUE(form.box(PermissionBits::OwnerWrite)->isEnabled());
    EXPECT_TRUE(form.recursiveGroup()->isHidden()) << "no folder selected";

    form.box(PermissionBits::GroupWrite)->click();
    EXPECT_EQ(form.valueEdit()->text(), S("664"));
    form.box(PermissionBits::OtherRead)->click();
    EXPECT_EQ(form.valueEdit()->text(), S("660"));

    const struct {
        const char *typed, *value, *boxes;
    } cases[] = {
        // What is typed stays as typed (it is what is sent); the boxes show it.
        {"644", "644", "rw-r--r--"},
        {"600", "600", "rw-------"},
        {"75", "75", "rw-------"}, // fewer than three characters: nothing happens yet
        {"751", "751", "rwxr-x--x"},
        {"000", "000", "---------"},
        {"0644", "0644", "rw-r--r--"}, // passes "064" on the way without changing the text
        {"4755", "4755", "rwxr-xr-x"},
    };
    for (const auto &c : cases) {
        typeValue(S(c.typed));
        EXPECT_EQ(form.valueEdit()->text(), S(c.value)) << c.typed;
        EXPECT_EQ(boxes(), S(c.boxes)) << c.typed;
    }

    // A click keeps the special-bits digit of a four-digit value.
    form.box(PermissionBits::OtherWrite)->click();
    EXPECT_EQ(form.valueEdit()->text(), S("4757"));
    EXPECT_EQ(form.choice().value, S("4757"));

    // A character that is no digit: the digits before it are applied, the text stays as typed
    // (OK refuses it) and the protocol says why.
    typeValue(S("6x4"));
    EXPECT_EQ(boxes(), S("rw-r-xrwx"));
    EXPECT_EQ(form.valueEdit()->text(), S("6x4"));
    EXPECT_EQ(context().protocol.entries().last().text, S("'6x4' is not a valid permission value"));
    EXPECT_EQ(form.choice().value, S("6x4"));

    form.prepare(false, QString());
    EXPECT_EQ(boxes(), S("rwxrwxrwx")) << "a listing without permission texts";
    EXPECT_EQ(form.valueEdit()->text(), S("777"));
}

TEST_F(ToolWindows, RecursionAndScopeKeepTheirStateAndEnterOrEscapeCloseTheDialog)
{
    PermissionForm &form = permissions();
    form.prepare(true, S("drwxr-xr-x"));
    EXPECT_FALSE(form.recursiveGroup()->isHidden());
    EXPECT_FALSE(form.recursiveCheckBox()->isChecked());
    EXPECT_TRUE(form.fileAndDirRadioButton()->isChecked());
    EXPECT_FALSE(form.fileRadioButton()->isEnabled());
    form.recursiveCheckBox()->click();
    EXPECT_TRUE(form.fileRadioButton()->isEnabled());
    form.dirRadioButton()->click();

    whenShown(form, [&form] { QTest::keyClick(form.valueEdit(), Qt::Key_Return); });
    ASSERT_TRUE(form.ask(true, S("-rw-------")));
    EXPECT_TRUE(form.recursiveCheckBox()->isChecked()) << "kept from the last use";
    EXPECT_TRUE(form.dirRadioButton()->isEnabled());
    const PermissionChoice choice = form.choice();
    EXPECT_EQ(choice.value, S("600"));
    EXPECT_TRUE(choice.recursive);
    EXPECT_EQ(choice.scope, PermissionChoice::Scope::DirectoriesOnly);

    whenShown(form, [&form] { QTest::keyClick(form.recursiveCheckBox(), Qt::Key_Escape); });
    EXPECT_FALSE(form.ask(false, S("-rw-------")));
    form.recursiveCheckBox()->setChecked(false);
    form.fileAndDirRadioButton()->setChecked(true);
}

TEST_F(ToolWindows, TheRenamePreviewFollowsEveryInput)
{
    MultiRenameToolForm &form = rename();
    form.setClock([] { return QDateTime(QDate(2024, 6, 1), QTime(13, 45, 7)); });
    form.prepare({{S("a.jpg"), {}, S("1024"), S("06/01/2024 10:00:00"), S("/pics/")},
                  {S("b ü.jpg"), {}, S("2048"), S("06/01/2024 11:00:00"), S("/pics/")}});
    form.show();
    EXPECT_EQ(form.header()->title(), S("Multi rename tool"));
    EXPECT_EQ(form.preview().newNames(), (QStringList{S("a.jpg"), S("b ü.jpg")})) << "the defaults keep every name";

    form.namePatternEdit()->setText(S("photo_"));
    form.findChild<QPushButton *>(S("CounterButton"))->click();
    EXPECT_EQ(form.namePatternEdit()->text(), S("photo_[C]"));
    form.findChild<QComboBox *>(S("ComboBox1"))->setCurrentIndex(2);
    EXPECT_EQ(form.preview().newNames(), (QStringList{S("photo_001.jpg"), S("photo_002.jpg")}));
    form.findChild<QSpinBox *>(S("SpinEdit1"))->setValue(10);
    form.findChild<QSpinBox *>(S("SpinEdit2"))->setValue(-5);
    EXPECT_EQ(form.preview().newNames(), (QStringList{S("photo_010.jpg"), S("photo_005.jpg")}));
    form.findChild<QLineEdit *>(S("Edit3"))->setText(S("_"));
    form.findChild<QLineEdit *>(S("Edit4"))->setText(S("-"));
    EXPECT_EQ(form.preview().newNames(), (QStringList{S("photo-010.jpg"), S("photo-005.jpg")}));
    form.namePatternEdit()->clear();
    for (const char *button : {"NameButton", "DateButton", "TimeButton"})
        form.findChild<QPushButton *>(QString::fromLatin1(button))->click();
    form.extensionPatternEdit()->clear();
    form.findChild<QPushButton *>(S("ExtensionCounterButton"))->click();
    form.findChild<QPushButton *>(S("ExtensionButton"))->click();
    EXPECT_EQ(form.extensionPatternEdit()->text(), S("[C][E]"));
    const QString date = RenameDateText(QDateTime(QDate(2024, 6, 1), QTime(13, 45, 7)));
    const QString time = RenameTimeText(QDateTime(QDate(2024, 6, 1), QTime(13, 45, 7)));
    EXPECT_FALSE(date.contains(u'/') || date.contains(u'.') || date.contains(u'-'));
    EXPECT_EQ(form.preview().newNames().value(0), S("a") + date + time + S("010.jpg"));

    // The preview grid: the five columns, each caption whole.
    QTableView *grid = form.previewGrid();
    const QStringList captions{S("Old name:"), S("New name:"), S("Size:"), S("Date:"), S("Location")};
    int total = 0;
    for (int column = 0; column < captions.size(); ++column) {
        EXPECT_EQ(grid->model()->headerData(column, Qt::Horizontal).toString(), captions[column]);
        EXPECT_GE(grid->columnWidth(column), grid->horizontalHeader()->fontMetrics().horizontalAdvance(captions[column]));
        total += grid->columnWidth(column);
    }
    EXPECT_GE(grid->viewport()->width(), total) << "every column is in view without scrolling sideways";
    EXPECT_EQ(grid->model()->index(1, RenamePreviewModel::Size).data().toString(), S("2048"));
    EXPECT_EQ(grid->model()->index(1, RenamePreviewModel::Location).data().toString(), S("/pics/"));

    const std::pair<const char *, const char *> german[] = {
        {"BitBtn1", "Umbenennen starten"}, {"BitBtn2", "Abbrechen"}, {"NameButton", "Name"},
        {"CounterButton", "Zähler"}, {"DateButton", "Datum"}, {"TimeButton", "Zeit"}, {"ExtensionButton", "Erweiterung"}};
    context().language.setCurrent(Language::German);
    EXPECT_EQ(form.header()->title(), S("Mehrfach-Umbenennungs-Tool"));
    for (const auto &[name, caption] : german)
        EXPECT_EQ(textOf<QPushButton>(form, name), S(caption)) << name;
    EXPECT_EQ(textOf<QGroupBox>(form, "FilenameGroupBox"), S("Datei Name"));
    EXPECT_EQ(textOf<QGroupBox>(form, "ExtensionGroupBox"), S("Datei Erweiterung"));
    EXPECT_EQ(textOf<QGroupBox>(form, "SearchReplaceGroupBox"), S("Suchen und ersetzen"));
    EXPECT_EQ(textOf<QGroupBox>(form, "CounterGroupBox"), S("Zähler"));
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), S("Alter Name:"));
    form.hide();
}

TEST_F(ToolWindows, TheCopyWindowListsEachFolderOnceAndCopiesOnlyAfterAChoice)
{
    CopyFileToEachDirForm &form = copy();
    form.prepare({S("/site"), S("/site/a"), S("/site"), S("/site/ü b")});
    form.show();
    EXPECT_EQ(form.header()->title(), S("Copy file(s) to each directory (and Subdirectories)"));
    EXPECT_EQ(form.header()->objectName(), S("TopLabel"));
    EXPECT_EQ(textOf<QLabel>(form, "Label1"), S("Destination directories for file"));
    EXPECT_EQ(form.selectButton()->text(), S("Select file(s)"));
    EXPECT_EQ(form.copyButton()->text(), S("Copy"));
    EXPECT_EQ(textOf<QPushButton>(form, "BitBtn2"), S("Abort"));
    EXPECT_EQ(form.destinations(), (QStringList{S("/site"), S("/site/a"), S("/site/ü b")}));
    EXPECT_FALSE(form.copyButton()->isEnabled());
    EXPECT_TRUE(form.sourceEdit()->text().isEmpty());
    // The whole title fits the window.
    QFont title = form.font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.25);
    EXPECT_GE(form.width(), QFontMetrics(title).horizontalAdvance(form.headerTitle()) + 14);

    prompts.filesAnswers = {{S("/d/a.html"), S("/d/b c.txt")}, {S("/d/x.txt")}, {}};
    form.selectButton()->click();
    EXPECT_EQ(prompts.shown, (QStringList{S("openFiles: Select file(s)")}));
    EXPECT_EQ(prompts.lastStartFolder, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    EXPECT_EQ(form.sourceEdit()->text(), S("/d/a.html|/d/b c.txt|"));
    EXPECT_TRUE(form.copyButton()->isEnabled());
    form.selectButton()->click();
    EXPECT_EQ(form.sources(), (QStringList{S("/d/x.txt")})) << "a second choice replaces the first";
    form.selectButton()->click(); // cancelled: the choice stays
    EXPECT_EQ(form.sourceEdit()->text(), S("/d/x.txt|"));
    form.hide();

    // Enter before any file was chosen closes with OK, and nothing is chosen.
    whenShown(form, [&form] { QTest::keyClick(form.destinationList(), Qt::Key_Return); });
    EXPECT_TRUE(form.ask({S("/site")}));
    EXPECT_TRUE(form.sources().isEmpty());

    context().language.setCurrent(Language::German);
    EXPECT_EQ(form.header()->title(), S("Eine Datei(en) in jedes Verzeichnis kopieren (inklusiv Unterordner)"));
    EXPECT_EQ(textOf<QLabel>(form, "Label1"), S("Zielordner für die Datei"));
    EXPECT_EQ(form.selectButton()->text(), S("Datei(en) auswählen"));
    EXPECT_EQ(form.copyButton()->text(), S("Kopieren"));
}
