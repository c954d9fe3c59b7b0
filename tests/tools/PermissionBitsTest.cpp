// The permission dialog's arithmetic: boxes from a listing's permissions text, the value from
// the boxes, the boxes from a typed value (owner Read and Execute locked on), and the text the
// dialog starts from for a selection.
#include "tools/PermissionBits.h"
#include "tools/PermissionRun.h"

#include <gtest/gtest.h>

using namespace Velmora;

namespace {

// The nine boxes as "rwxrwxrwx" with "-" for an empty box.
QString boxes(const PermissionBits &bits)
{
    const char letters[] = "rwxrwxrwx";
    QString text;
    for (int bit = 0; bit < 9; ++bit)
        text += bits[bit] ? QChar::fromLatin1(letters[bit]) : u'-';
    return text;
}

PermissionBits fromBoxes(const char *text)
{
    PermissionBits bits;
    for (int bit = 0; bit < 9; ++bit)
        bits[bit] = text[bit] != '-';
    return bits;
}

SelectionLine row(int kind, const char *name, const char *permissions)
{
    SelectionLine line;
    line.kind = EntryKind(kind);
    line.name = QString::fromUtf8(name);
    line.permissions = QString::fromLatin1(permissions);
    line.server = true;
    return line;
}

} // namespace

TEST(PermissionBits, BoxesAndValueFollowThePermissionsText)
{
    const struct {
        const char *permissions, *boxes, *value;
    } cases[] = {
        {"-rw-r--r--", "rw-r--r--", "644"},
        {"-rwxr-xr-x", "rwxr-xr-x", "755"},
        {"drwx------", "rwx------", "700"},
        {"----------", "---------", "000"},
        {"-rwsrwsrwt", "rwxrwxrwx", "777"}, // s and t count as set
        {"-rwSr-Sr-T", "rwxr-xr-x", "755"}, // so do S and T
        {"-r-Sr-S--T", "r-xr-x--x", "551"},
        {"", "rwxrwxrwx", "777"},           // a listing without permissions
        {"-rw-", "rw-rwxrwx", "677"},       // characters beyond the end count as set
        {"lrwxrwxrwx", "rwxrwxrwx", "777"},
    };
    for (const auto &c : cases) {
        const PermissionBits bits = PermissionBits::fromPermissionString(QString::fromLatin1(c.permissions));
        EXPECT_EQ(boxes(bits), QString::fromLatin1(c.boxes)) << c.permissions;
        EXPECT_EQ(bits.valueText(), QString::fromLatin1(c.value)) << c.permissions;
    }
}

TEST(PermissionBits, ATypedValueSetsTheBoxesAsWritten)
{
    const struct {
        const char *typed, *before, *after, *value;
        bool applied;
        bool error;
    } cases[] = {
        {"644", "rwxr-xr-x", "rw-r--r--", "644", true, false},
        {"600", "rwxr-xr-x", "rw-------", "600", true, false},
        {"000", "rwxrwxrwx", "---------", "000", true, false},
        {"755", "r-x------", "rwxr-xr-x", "755", true, false},
        {" 640 ", "rwxrwxrwx", "rw-r-----", "640", true, false},   // blanks are trimmed
        // Four digits: the special bits first, then owner, group and others.
        {"0644", "---------", "rw-r--r--", "644", true, false},
        {"4755", "---------", "rwxr-xr-x", "755", true, false},
        {"1777", "---------", "rwxrwxrwx", "777", true, false},
        {"064", "rwxrwxrwx", "---rw-r--", "064", true, false},     // on the way to "0644"
        {"64411", "rwxr-xr-x", "rwxr-xr-x", "755", false, false},  // too long: nothing happens
        {"64", "rwxr-xr-x", "rwxr-xr-x", "755", false, false},     // too short: nothing happens
        {"", "rw-r--r--", "rw-r--r--", "644", false, false},
        {"899", "---------", "r--r--r--", "444", true, false},     // 8 and 9 give read only
        {"6x4", "r-x------", "rw-------", "600", true, true},      // stops at the faulty character
        {"x44", "rw-------", "rw-------", "600", true, true},      // nothing before it to apply
    };
    for (const auto &c : cases) {
        const PermissionValueResult result = ApplyPermissionValue(QString::fromLatin1(c.typed), fromBoxes(c.before));
        EXPECT_EQ(boxes(result.bits), QString::fromLatin1(c.after)) << c.typed;
        EXPECT_EQ(result.bits.valueText(), QString::fromLatin1(c.value)) << c.typed;
        EXPECT_EQ(result.applied, c.applied) << c.typed;
        EXPECT_EQ(!result.error.isEmpty(), c.error) << c.typed;
    }
}

TEST(PermissionBits, TheDialogStartsFromTheSelectedRowOrFromTheDefault)
{
    EXPECT_EQ(InitialPermissionString({row(1, "a.txt", "-rw-r--r--")}), QStringLiteral("-rw-r--r--"));
    EXPECT_EQ(InitialPermissionString({row(1, "a.txt", "-rw-r--r--"), row(1, "b.txt", "-rw-------")}),
              QStringLiteral("-rwxr-xr-x"));
    EXPECT_EQ(InitialPermissionString({row(0, "dir", "drwxr-x---"), row(1, "b.txt", "-rw-------")}),
              QStringLiteral("-rwxr-xr-x"));
    // Links count as neither: one file and a link start from the last row's text.
    EXPECT_EQ(InitialPermissionString({row(1, "a.txt", "-rw-r--r--"), row(2, "l -> a.txt", "lrwxrwxrwx")}),
              QStringLiteral("lrwxrwxrwx"));
    EXPECT_EQ(InitialPermissionString({row(1, "a.txt", "")}), QString());

    EXPECT_TRUE(SelectionHasFolder({row(1, "a", ""), row(0, "d", "")}));
    EXPECT_FALSE(SelectionHasFolder({row(1, "a", ""), row(2, "l", "")}));
}

TEST(PermissionBits, TheFileRecordNamesThePathAndTheValue)
{
    EXPECT_EQ(PermissionRun::fileRecord(QStringLiteral("/www"), QStringLiteral("a b.txt"), QStringLiteral("644")),
              QStringLiteral("CHMOD|/www/a b.txt|644"));
    EXPECT_EQ(PermissionRun::fileRecord(QStringLiteral("/"), QStringLiteral("x"), QStringLiteral("600")),
              QStringLiteral("CHMOD|/x|600"));
}
