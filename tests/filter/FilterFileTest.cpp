#include "filter/FilterFile.h"
#include "QtPrinters.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Velmora;
using Velmora::Testing::TestEnvironment;

namespace {

QString s(const char16_t *text)
{
    return QString::fromUtf16(text);
}

FilterCriteria everyFieldSet()
{
    FilterCriteria c;
    c.term = s(u"index|home|*.*x");
    c.termDir = FilterCriteria::InDirectoryAndFilename;
    c.withoutTerm = s(u"alt|Gr\u00F6\u00DFe");
    c.withoutTermDir = FilterCriteria::InFiledate;
    c.andDate = FilterCriteria::And;
    c.dateIE = FilterCriteria::DateBefore;
    c.date = QStringLiteral("31.12.2009");
    c.andExtension = FilterCriteria::And;
    c.extensionIE = FilterCriteria::AllWithoutExtension;
    c.extension = QStringLiteral("*.htm|php");
    c.andFileSize = -1; // a combo box without selection
    c.fileSizeIE = 7;   // outside its list: kept as it is
    c.fileSize = QStringLiteral("1000|5000");
    return c;
}

} // namespace

TEST(FilterFile, RoundTripsEveryCriterion)
{
    TestEnvironment env;
    const QString path = env.root() + QStringLiteral("mine.fil");
    const FilterCriteria written = everyFieldSet();
    FilterMessage error;
    ASSERT_TRUE(FilterFile::write(path, written, &error)) << error.english.toStdString();
    const std::optional<FilterCriteria> read = FilterFile::read(path, &error);
    ASSERT_TRUE(read.has_value()) << error.english.toStdString();
    EXPECT_EQ(*read, written);

    // A character outside Windows-1252 makes the file UTF-8; it still comes back whole.
    FilterCriteria wide = written;
    wide.term = s(u"\u0142\u00F3d\u017A|\u20AC");
    ASSERT_TRUE(FilterFile::write(path, wide));
    EXPECT_EQ(FilterFile::read(path).value_or(FilterCriteria()), wide);
}

TEST(FilterFile, WritesTheThirteenKeysInOrder)
{
    TestEnvironment env;
    const QString path = env.root() + QStringLiteral("order.fil");
    ASSERT_TRUE(FilterFile::write(path, everyFieldSet()));
    EXPECT_EQ(TestEnvironment::readFile(path),
              QByteArray("[SETTINGS]\r\nTerm=index|home|*.*x\r\nTermDir=1\r\nWithoutTerm=alt|Gr\xF6\xDF" "e\r\n"
                         "WithoutTermDir=2\r\nAndDate=1\r\nDateIE=3\r\nDate=31.12.2009\r\nAndExtension=1\r\n"
                         "ExtensionIE=1\r\nExtension=*.htm|php\r\nAndFileSize=-1\r\nFileSizeIE=7\r\n"
                         "FileSize=1000|5000\r\n\r\n"));
}

TEST(FilterFile, SavingOverAFileKeepsWhatItHoldsBesides)
{
    TestEnvironment env;
    const QString path = env.writeFile(QStringLiteral("old.fil"),
                                       "[Notes]\r\nAuthor=me\r\n\r\n[SETTINGS]\r\nTerm=old\r\nComment=keep me\r\n");
    FilterCriteria criteria;
    criteria.term = QStringLiteral("new");
    ASSERT_TRUE(FilterFile::write(path, criteria));
    const QByteArray text = TestEnvironment::readFile(path);
    EXPECT_TRUE(text.startsWith("[Notes]\r\nAuthor=me\r\n\r\n[SETTINGS]\r\nTerm=new\r\nComment=keep me\r\nTermDir=0\r\n"))
        << text.toStdString();
}

TEST(FilterFile, MissingKeysTakeTheirDefaults)
{
    // Only the extension: everything else is the empty filter, "Term" included.
    FilterCriteria expected;
    expected.extension = QStringLiteral("jpg");
    EXPECT_EQ(FilterFile::parse(QStringLiteral("[settings]\r\nextension=jpg\r\n"), QStringLiteral("a.fil")), expected);

    // A key that is present but empty stays empty.
    expected = FilterCriteria();
    expected.term.clear();
    expected.date = QStringLiteral("31.12.2009");
    expected.dateIE = FilterCriteria::DateSince;
    EXPECT_EQ(FilterFile::parse(QStringLiteral("[SETTINGS]\nTerm=\nDate=31.12.2009\nDateIE=2\n"), QStringLiteral("b.fil")),
              expected);
}

TEST(FilterFile, RefusesFilesThatAreNotFilterFilesAndSaysWhy)
{
    const struct {
        QByteArray content;
        const char16_t *english;
        const char16_t *german;
    } cases[] = {
        {QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
         u"\"x.fil\" is not a filter file (it is not a text file). The filter was not changed.",
         u"\"x.fil\" ist keine Filterdatei (sie ist keine Textdatei). Der Filter wurde nicht ge\u00E4ndert."},
        {QByteArray("/www/a.txt\xA7RETR\xA7/l/a.txt\xA7" "12\xA7" "20.05.2010 10:00\r\n"), // a queue file
         u"\"x.fil\" is not a filter file (its section [SETTINGS] holds none of the filter's keys). The filter was not changed.",
         u"\"x.fil\" ist keine Filterdatei (ihr Abschnitt [SETTINGS] enth\u00E4lt keinen der Schl\u00FCssel des Filters). "
         u"Der Filter wurde nicht ge\u00E4ndert."},
        {QByteArray("[SETTINGS]\r\nFilterON=1\r\n[Filter]\r\nTerm=x\r\n"), // another INI file
         u"\"x.fil\" is not a filter file (its section [SETTINGS] holds none of the filter's keys). The filter was not changed.",
         nullptr},
        {QByteArray(), // empty
         u"\"x.fil\" is not a filter file (its section [SETTINGS] holds none of the filter's keys). The filter was not changed.",
         nullptr},
        {QByteArray("[SETTINGS]\r\nTerm=a\r\nTermDir=in Filename\r\n"), // damaged
         u"The filter file \"x.fil\" is damaged: \"TermDir\" must be a whole number, not \"in Filename\". "
         u"The filter was not changed.",
         u"Die Filterdatei \"x.fil\" ist besch\u00E4digt: \"TermDir\" muss eine ganze Zahl sein, nicht \"in Filename\". "
         u"Der Filter wurde nicht ge\u00E4ndert."},
        {QByteArray("[SETTINGS]\r\nAndDate=99999999999\r\n"), // beyond a whole number's range
         u"The filter file \"x.fil\" is damaged: \"AndDate\" must be a whole number, not \"99999999999\". "
         u"The filter was not changed.",
         nullptr},
        {QByteArray(FilterFile::MaximumSize + 1, 'a'),
         u"\"x.fil\" is not a filter file (it is far too large). The filter was not changed.",
         u"\"x.fil\" ist keine Filterdatei (sie ist viel zu gro\u00DF). Der Filter wurde nicht ge\u00E4ndert."},
    };
    TestEnvironment env;
    for (const auto &c : cases) {
        const QString path = env.writeFile(QStringLiteral("x.fil"), c.content);
        FilterMessage error;
        EXPECT_FALSE(FilterFile::read(path, &error).has_value());
        EXPECT_EQ(error.english, s(c.english));
        if (c.german) {
            EXPECT_EQ(error.german, s(c.german));
        }
        EXPECT_EQ(TestEnvironment::readFile(path), c.content); // reading never changes the file
    }
}

TEST(FilterFile, MissingOrUnwritableFilesGiveAMessage)
{
    TestEnvironment env;
    FilterMessage error;
    const QString missing = env.root() + QStringLiteral("none.fil");
    EXPECT_FALSE(FilterFile::read(missing, &error).has_value());
    EXPECT_EQ(error.english, QStringLiteral("The filter file \"") + missing + QStringLiteral("\" cannot be read."));
    EXPECT_FALSE(FilterFile::read(env.root(), &error).has_value()); // a folder

    const QString inMissingFolder = env.root() + QStringLiteral("no/such/folder/a.fil");
    EXPECT_FALSE(FilterFile::write(inMissingFolder, FilterCriteria(), &error));
    EXPECT_EQ(error.english, QStringLiteral("The filter file \"") + inMissingFolder + QStringLiteral("\" cannot be written."));
    EXPECT_EQ(error.german, QStringLiteral("Die Filterdatei \"") + inMissingFolder
                                + QStringLiteral("\" kann nicht geschrieben werden."));
    EXPECT_FALSE(QFile::exists(inMissingFolder));
}

TEST(FilterFile, ALineBreakInATextBecomesABlank)
{
    TestEnvironment env;
    const QString path = env.root() + QStringLiteral("lines.fil");
    FilterCriteria criteria;
    criteria.term = QStringLiteral("a\r\nDate=01.01.2000");
    ASSERT_TRUE(FilterFile::write(path, criteria));
    const std::optional<FilterCriteria> read = FilterFile::read(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->term, QStringLiteral("a  Date=01.01.2000"));
    EXPECT_EQ(read->date, QString());
}
