// The multi rename tool without its window: the new names the patterns build, the plan that
// never lets a rename replace an entry, and local renaming on disk.
#include "FakeUserPrompts.h"
#include "TestEnvironment.h"

#include "app/AppFolders.h"
#include "app/ProtocolLog.h"
#include "tools/MultiRenamer.h"
#include "tools/RenamePattern.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QString S(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

RenamePatternInputs inputs(const char *name, const char *extension, int digits = 1, const char *search = "",
                           const char *replacement = "")
{
    RenamePatternInputs in;
    in.namePattern = S(name);
    in.extensionPattern = S(extension);
    in.digits = digits;
    in.search = S(search);
    in.replacement = S(replacement);
    return in;
}

} // namespace

TEST(RenamePattern, ApplyPatternBuildsTheNewName)
{
    const struct {
        const char *oldName;
        qint64 counter;
        RenamePatternInputs in;
        const char *expected;
    } cases[] = {
        {"a.jpg", 1, inputs("[N]", "[E]"), "a.jpg"},                        // the defaults keep the name
        {"a.jpg", 1, inputs("photo_[C]", "[E]", 3), "photo_001.jpg"},
        {"b.jpg", 2, inputs("photo_[C]", "[E]", 3), "photo_002.jpg"},
        {"a.jpg", 100, inputs("[C]", "[E]", 2), "100.jpg"},                 // a longer number is not cut
        {"a.jpg", -5, inputs("[C]", "[E]", 3), "-005.jpg"},
        {"README", 1, inputs("[N]", "[E]"), "README"},                      // no extension
        {"README", 1, inputs("[N]", ".txt"), "README.txt"},
        {"archive.tar.gz", 1, inputs("[N]", "[E]"), "archive.tar.gz"},
        {"archive.tar.gz", 1, inputs("[N]", ""), "archive.tar"},             // only the final extension
        {"x.txt.txt", 1, inputs("[N]", ""), "x.txt"},
        {".htaccess", 1, inputs("[N]x", "[E]"), "x.htaccess"},
        {"my_file.txt", 1, inputs("[N]_[C]", "[E]", 1, "_", "-"), "my-file-1.txt"}, // extension included
        {"a[C].txt", 7, inputs("[N]", "[E]"), "a7.txt"},                     // [N] is replaced first
        {"a.TXT", 4, inputs("[n]-[N]", "[E]-[c]"), "[n]-a.TXT-[c]"},          // placeholders are case-sensitive
        {"p.png", 3, inputs("[DATE]_[TIME]_[N]", "[E]"), "20240601_134500_p.png"},
        {"p.png", 3, inputs("[N]", "[C][E]", 2), "p03.png"},
        {"aaa.txt", 1, inputs("[N]", "[E]", 1, "aa", "a"), "aa.txt"},         // no overlapping, no rescanning
        {"Größe ü.txt", 1, inputs("[N]_neu", "[E]"), "Größe ü_neu.txt"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ApplyPattern(S(c.oldName), c.counter, S("20240601"), S("134500"), c.in), S(c.expected)) << c.oldName;
    }
}

TEST(RenamePattern, TheCounterStartsAtTheStartAndGrowsByTheStep)
{
    RenamePatternInputs in = inputs("f[C]", "[E]", 2);
    in.start = 9;
    in.step = -3;
    EXPECT_EQ(PreviewNames({S("a.txt"), S("b.txt"), S("c.txt"), S("d.txt")}, in, {}, {}),
              (QStringList{S("f09.txt"), S("f06.txt"), S("f03.txt"), S("f00.txt")}));
    in.step = 0;
    EXPECT_EQ(PreviewNames({S("a.txt"), S("b.txt")}, in, {}, {}), (QStringList{S("f09.txt"), S("f09.txt")}));
    EXPECT_EQ(StripDateSeparators(S("01.06.2024 13:45:00 - 1/2")), S("01062024 134500  12"));
}

TEST(RenamePattern, ThePlanNeverReplacesAnEntry)
{
    const QStringList folder{S("a.jpg"), S("b.jpg"), S("c.jpg"), S("taken.jpg"), S("sub")};
    const QList<RenameStep> plan = PlanRenames({S("a.jpg"), S("b.jpg"), S("c.jpg"), S("taken.jpg"), S("sub")},
                                               {S("x.jpg"), S("x.jpg"), S("a.jpg"), S("sub"), S("sub")}, folder);
    ASSERT_EQ(plan.size(), 5);
    EXPECT_EQ(plan[0].verdict, RenameStep::Verdict::Rename);
    EXPECT_EQ(plan[1].verdict, RenameStep::Verdict::TargetExists); // the first rename took the name
    EXPECT_EQ(plan[2].verdict, RenameStep::Verdict::Rename);       // the first rename freed it
    EXPECT_EQ(plan[3].verdict, RenameStep::Verdict::TargetExists); // a folder is never replaced
    EXPECT_EQ(plan[4].verdict, RenameStep::Verdict::Unchanged);

    const QList<RenameStep> refused = PlanRenames({S("a"), S("b"), S("c"), S("d"), S("e")},
                                                  {S(""), S("x/y"), S(".."), S("p|q"), S("line\nbreak")}, {});
    for (const RenameStep &step : refused)
        EXPECT_EQ(step.verdict, RenameStep::Verdict::NameRefused) << step.newName.toStdString();
}

TEST(RenamePattern, LocalRenamingRenamesInOrderAndKeepsEveryExistingFile)
{
    TestEnvironment env;
    AppFolders folders = AppFolders::detect();
    folders.create();
    ProtocolLog log(folders.appDataFolder);
    const QString dir = env.root() + S("pics/");
    env.writeFile(S("pics/a.jpg"), "A");
    env.writeFile(S("pics/b.jpg"), "B");
    env.writeFile(S("pics/c d #1.jpg"), "C");
    env.writeFile(S("pics/photo_3.jpg"), "old photo");

    RenamePatternInputs in = inputs("photo_[C]", "[E]");
    const QStringList old{S("a.jpg"), S("b.jpg"), S("c d #1.jpg")};
    QStringList names = QDir(dir).entryList(QDir::Files);
    const QList<RenameStep> plan = PlanRenames(old, PreviewNames(old, in, {}, {}), names);
    int pumped = 0;
    MultiRenamer renamer(log, [&pumped] { ++pumped; });
    // A file that appeared after the listing is not replaced either.
    env.writeFile(S("pics/photo_2.jpg"), "arrived meanwhile");
    EXPECT_EQ(renamer.renameLocal(dir, plan), 1);
    EXPECT_EQ(pumped, 3);

    EXPECT_EQ(TestEnvironment::readFile(dir + S("photo_1.jpg")), "A");
    EXPECT_EQ(TestEnvironment::readFile(dir + S("b.jpg")), "B");
    EXPECT_EQ(TestEnvironment::readFile(dir + S("photo_2.jpg")), "arrived meanwhile");
    EXPECT_EQ(TestEnvironment::readFile(dir + S("c d #1.jpg")), "C");
    EXPECT_EQ(TestEnvironment::readFile(dir + S("photo_3.jpg")), "old photo");
    QStringList errors;
    for (const ProtocolEntry &entry : log.entries()) {
        if (entry.kind == ProtocolEntry::Error)
            errors << entry.text;
    }
    ASSERT_EQ(errors.size(), 2) << errors.join(u'\n').toStdString();
    EXPECT_TRUE(errors[0].startsWith(S("Not renamed: ") + dir + S("b.jpg -> photo_2.jpg ("))) << errors[0].toStdString();
    EXPECT_EQ(errors[1], S("Not renamed: ") + dir + S("c d #1.jpg -> photo_3.jpg (an entry of the new name exists)"));
}
