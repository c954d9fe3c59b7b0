#include "filter/FilterDescription.h"
#include "filter/FilterReport.h"
#include "app/ProtocolLog.h"
#include "QtPrinters.h"
#include "TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Velmora;
using Velmora::Testing::TestEnvironment;

TEST(ReportFilterEvaluation, WritesTheDescriptionAsTheOnlyLineOfFilterLog)
{
    TestEnvironment env;
    ProtocolLog protocol(env.root());
    const QString logPath = env.root() + QStringLiteral("filter.log");

    ReportFilterEvaluation(protocol, Language::English, false, QStringLiteral("('*.*' in Filename) "), {});
    EXPECT_FALSE(QFile::exists(logPath)); // "Write logfiles" off

    ReportFilterEvaluation(protocol, Language::English, true, QStringLiteral("('a' in Filename) "), {});
    ReportFilterEvaluation(protocol, Language::English, true, QStringLiteral("(Extension='jpg') "), {});
    EXPECT_EQ(TestEnvironment::readFile(logPath), QByteArray("(Extension='jpg') \r\n")); // replaced, not appended
    EXPECT_TRUE(protocol.entries().isEmpty());
}

TEST(ReportFilterEvaluation, NotesBecomeErrorLinesInTheCurrentLanguage)
{
    TestEnvironment env;
    ProtocolLog protocol(env.root());
    ReportFilterEvaluation(protocol, Language::German, false, QString(),
                           {{QStringLiteral("one"), QStringLiteral("eins")}, {QStringLiteral("two"), QStringLiteral("zwei")}});
    ASSERT_EQ(protocol.entries().size(), 2);
    EXPECT_EQ(protocol.entries()[0].kind, ProtocolEntry::Error);
    EXPECT_EQ(protocol.entries()[0].text, QStringLiteral("eins"));
    EXPECT_EQ(protocol.entries()[1].text, QStringLiteral("zwei"));
}
