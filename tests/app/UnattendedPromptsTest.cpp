// The prompts of a batch run: unattended, nothing reaches a box and every text goes to the
// console and the protocol with its non-blocking answer; attended, everything passes through.
#include "app/ProtocolLog.h"
#include "app/UnattendedPrompts.h"
#include "common/Language.h"
#include "FakeUserPrompts.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace Velmora;
using Velmora::Testing::FakeUserPrompts;
using Velmora::Testing::TestEnvironment;

namespace {

struct UnattendedFixture {
    TestEnvironment env;
    FakeUserPrompts inner;
    ProtocolLog protocol{env.root()};
    Language language;
    QStringList console;
    UnattendedPrompts prompts{inner, protocol, language, [this](const QString &line) { console.append(line); }};

    QStringList protocolLines() const
    {
        QStringList lines;
        for (const ProtocolEntry &e : protocol.entries())
            lines << QString::number(e.kind) + QStringLiteral(": ") + e.text;
        return lines;
    }
};

} // namespace

TEST(UnattendedPrompts, UnattendedNothingWaitsAndEveryTextIsKept)
{
    UnattendedFixture f;
    f.prompts.setUnattended(true);
    f.inner.confirmAnswers = {true};
    f.inner.fileAnswers = {QStringLiteral("/q/a.queue"), QStringLiteral("/q/b.queue")};
    f.inner.folderAnswers = {QStringLiteral("/q/")};

    f.prompts.information(QStringLiteral("Specify a host!"));
    f.protocol.AddProtocolMessage(ProtocolEntry::Error, QStringLiteral("530 Login incorrect."));
    f.prompts.error(QStringLiteral("530 Login incorrect.")); // the engine logged it already
    EXPECT_FALSE(f.prompts.confirm(QStringLiteral("Really delete 2 entries?"))) << "No keeps the entries";
    EXPECT_EQ(f.prompts.openFile(QStringLiteral("Load queue"), QStringLiteral("/q/"), QStringLiteral("Queue (*.queue)")), QString());
    EXPECT_EQ(f.prompts.saveFile(QStringLiteral("Save queue"), QString(), QString(), QString(), QString()), QString());
    EXPECT_EQ(f.prompts.chooseFolder(QStringLiteral("Target"), QString(), true), QString());

    EXPECT_TRUE(f.inner.shown.isEmpty()) << f.inner.shown.join(u'\n').toStdString();
    EXPECT_EQ(f.console, (QStringList{QStringLiteral("velmora: Specify a host!"),
                                      QStringLiteral("velmora: error: 530 Login incorrect."),
                                      QStringLiteral("velmora: question: Really delete 2 entries?"),
                                      QStringLiteral("velmora: answer: No (nobody can answer during a batch job)"),
                                      QStringLiteral("velmora: Not shown during a batch job: the dialog \"Load queue\"."),
                                      QStringLiteral("velmora: Not shown during a batch job: the dialog \"Save queue\"."),
                                      QStringLiteral("velmora: Not shown during a batch job: the dialog \"Target\".")}));
    EXPECT_EQ(f.protocolLines(), (QStringList{QStringLiteral("1: Specify a host!"), QStringLiteral("2: 530 Login incorrect."),
                                              QStringLiteral("1: Question: Really delete 2 entries?"),
                                              QStringLiteral("1: Answered No: nobody can answer during a batch job."),
                                              QStringLiteral("1: Not shown during a batch job: the dialog \"Load queue\"."),
                                              QStringLiteral("1: Not shown during a batch job: the dialog \"Save queue\"."),
                                              QStringLiteral("1: Not shown during a batch job: the dialog \"Target\".")}));

    f.language.setCurrent(Language::German);
    f.prompts.confirm(QStringLiteral("Wirklich?"));
    EXPECT_EQ(f.protocolLines().last(),
              QString::fromUtf8("1: Mit Nein beantwortet: während eines Batchjobs kann niemand antworten."));
}

TEST(UnattendedPrompts, AttendedEveryPromptReachesTheBoxes)
{
    UnattendedFixture f;
    f.prompts.setUnattended(true);
    f.prompts.setUnattended(false); // the job is over ("-r"): somebody may use the window
    f.inner.confirmAnswers = {true};
    f.inner.fileAnswers = {QStringLiteral("/q/a.queue")};
    f.prompts.information(QStringLiteral("i"));
    f.prompts.error(QStringLiteral("e"));
    EXPECT_TRUE(f.prompts.confirm(QStringLiteral("c")));
    EXPECT_EQ(f.prompts.openFile(QStringLiteral("Load queue"), QString(), QString()), QStringLiteral("/q/a.queue"));
    EXPECT_EQ(f.inner.shown, (QStringList{QStringLiteral("information: i"), QStringLiteral("error: e"),
                                          QStringLiteral("confirm: c"), QStringLiteral("openFile: Load queue")}));
    EXPECT_TRUE(f.console.isEmpty());
    EXPECT_TRUE(f.protocol.entries().isEmpty());
}
