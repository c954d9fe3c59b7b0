// The overwrite policy: what the question's controls make of it, when the question is shown,
// and how it changes at the end of a run and with the option "AllwaysOverwrite".
#include "queue/OverwritePolicy.h"

#include <gtest/gtest.h>

using namespace Velmora;
using Scope = OverwritePolicy::Scope;
using Action = OverwritePolicy::Action;

TEST(OverwritePolicy, TheQuestionsControlsSetAskScopeAndAction)
{
    const struct {
        bool overwrite, skip, always, currentQueue;
        bool ask;
        Scope scope;
        Action action;
        bool questionNextTime;
        bool overwritesWithoutQuestion;
    } cases[] = {
        {true, false, false, false, false, Scope::ThisFile, Action::Overwrite, true, true},
        {false, true, false, false, true, Scope::ThisFile, Action::Skip, true, false},
        {true, false, true, false, false, Scope::Always, Action::Overwrite, false, true},
        {false, true, true, false, false, Scope::Always, Action::Skip, false, false},
        {true, false, false, true, false, Scope::CurrentQueue, Action::Overwrite, false, true},
        {false, true, false, true, false, Scope::CurrentQueue, Action::Skip, false, false},
    };
    for (const auto &c : cases) {
        OverwritePolicy p;
        p.applyQuestionState(c.overwrite, c.skip, c.always, c.currentQueue);
        const std::string name = std::to_string(c.overwrite) + std::to_string(c.skip) + std::to_string(c.always)
            + std::to_string(c.currentQueue);
        EXPECT_EQ(p.ask, c.ask) << name;
        EXPECT_EQ(p.scope, c.scope) << name;
        EXPECT_EQ(p.action, c.action) << name;
        EXPECT_EQ(p.questionNeeded(), c.questionNextTime) << name;
        EXPECT_EQ(p.overwriteWithoutQuestion(), c.overwritesWithoutQuestion) << name;
    }
}

TEST(OverwritePolicy, AnAnswerForTheCurrentQueueIsAskedAgainFromTheNextRun)
{
    OverwritePolicy p;
    p.applyQuestionState(false, true, false, true);
    EXPECT_FALSE(p.questionNeeded());
    p.endRun(false);
    EXPECT_TRUE(p.questionNeeded());

    OverwritePolicy always;
    always.applyQuestionState(true, false, true, false);
    always.endRun(false);
    EXPECT_FALSE(always.questionNeeded()) << "\"Allways use this action\" outlives the run";
    always.endRun(true);
    EXPECT_TRUE(always.questionNeeded()) << "a question left with Abort asks again";
    EXPECT_EQ(always.scope, Scope::ThisFile);
}

TEST(OverwritePolicy, TheOptionAllwaysOverwriteNeverAsksOrAsksEveryTime)
{
    OverwritePolicy p;
    EXPECT_TRUE(p.questionNeeded());
    EXPECT_TRUE(p.overwriteWithoutQuestion()) << "no answer yet counts as Overwrite";
    p.applyAllwaysOverwrite(true);
    EXPECT_FALSE(p.questionNeeded());
    EXPECT_TRUE(p.overwriteWithoutQuestion());
    p.applyAllwaysOverwrite(false);
    EXPECT_TRUE(p.questionNeeded());
}
