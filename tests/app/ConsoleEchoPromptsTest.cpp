#include "app/ConsoleEchoPrompts.h"
#include "FakeUserPrompts.h"

#include <gtest/gtest.h>

using namespace Velmora;
using Velmora::Testing::FakeUserPrompts;

TEST(ConsoleEchoPrompts, MessagesAndQuestionsReachBothTheUserAndTheConsole)
{
    FakeUserPrompts inner;
    inner.confirmAnswers = {true, false};
    QStringList console;
    ConsoleEchoPrompts prompts(inner, [&console](const QString &line) { console.append(line); });

    prompts.information(QStringLiteral("Queue file not found: /q/a.queue"));
    prompts.error(QStringLiteral("Connection refused"));
    EXPECT_TRUE(prompts.confirm(QStringLiteral("Overwrite?")));
    EXPECT_FALSE(prompts.confirm(QStringLiteral("Again?")));

    EXPECT_EQ(inner.shown, (QStringList{QStringLiteral("information: Queue file not found: /q/a.queue"),
                                        QStringLiteral("error: Connection refused"), QStringLiteral("confirm: Overwrite?"),
                                        QStringLiteral("confirm: Again?")}));
    EXPECT_EQ(console, (QStringList{QStringLiteral("velmora: Queue file not found: /q/a.queue"),
                                    QStringLiteral("velmora: error: Connection refused"),
                                    QStringLiteral("velmora: question: Overwrite?"), QStringLiteral("velmora: answer: Yes"),
                                    QStringLiteral("velmora: question: Again?"), QStringLiteral("velmora: answer: No")}));
}

TEST(ConsoleEchoPrompts, DialogsPassThroughWithoutConsoleLines)
{
    FakeUserPrompts inner;
    inner.fileAnswers = {QStringLiteral("/q/a.queue")};
    inner.folderAnswers = {QStringLiteral("/q/")};
    QStringList console;
    ConsoleEchoPrompts prompts(inner, [&console](const QString &line) { console.append(line); });

    EXPECT_EQ(prompts.openFile(QStringLiteral("Open"), QStringLiteral("/q/"), QStringLiteral("Queue|*.queue")),
              QStringLiteral("/q/a.queue"));
    EXPECT_EQ(prompts.chooseFolder(QStringLiteral("Folder"), QString(), true), QStringLiteral("/q/"));
    EXPECT_EQ(prompts.saveFile(QStringLiteral("Save"), QString(), QString(), QString(), QString()), QString());
    EXPECT_EQ(inner.shown.size(), 3);
    EXPECT_TRUE(console.isEmpty());
}

// After a "-r" job the window is attended again: the trust windows, the passphrase and the
// locked keyring's question reach the user with their answers, never a silent "Cancel".
TEST(ConsoleEchoPrompts, TrustAndSecretWindowsPassThrough)
{
    FakeUserPrompts inner;
    inner.certificateAnswers = {UserPrompts::CertificateAnswer::TrustThisTime};
    inner.hostKeyAnswers = {UserPrompts::CertificateAnswer::TrustAlways};
    inner.secretAnswers = {QStringLiteral("phrase")};
    inner.lockedKeyringAnswers = {UserPrompts::LockedKeyringAnswer::TypePassword};
    QStringList console;
    ConsoleEchoPrompts prompts(inner, [&console](const QString &line) { console.append(line); });

    EXPECT_EQ(prompts.askCertificate(QStringLiteral("C"), QStringLiteral("c")), UserPrompts::CertificateAnswer::TrustThisTime);
    EXPECT_EQ(prompts.askHostKey(QStringLiteral("H"), QStringLiteral("h")), UserPrompts::CertificateAnswer::TrustAlways);
    EXPECT_EQ(prompts.askSecret(QStringLiteral("S"), QStringLiteral("s")), std::optional<QString>(QStringLiteral("phrase")));
    EXPECT_EQ(prompts.askLockedKeyring(QStringLiteral("K"), QStringLiteral("k")), UserPrompts::LockedKeyringAnswer::TypePassword);
    EXPECT_TRUE(prompts.isAttended());
    EXPECT_EQ(inner.shown.filter(QStringLiteral(": ")).size(), 8) << inner.shown.join(u'\n').toStdString();
}
