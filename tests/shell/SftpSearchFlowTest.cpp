// Search and replace on the files of an SFTP site, as a user runs it from the main window:
// collected, downloaded, changed in the search window after a backup, uploaded, and restored
// from the backup, each step compared byte for byte on the server (OpenSSH's sshd).
#include "AppFixture.h"
#include "HandOverAllFilter.h"
#include "SshTestServer.h"
#include "engine/ftp/FtpEncryption.h"
#include "QtPrinters.h"
#include "WhenShown.h"

#include "app/DialogHeader.h"
#include "app/Options.h"
#include "browser/BrowserController.h"
#include "browser/FileGridColumns.h"
#include "browser/FileGridModel.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "browser/PaneCommandBar.h"
#include "common/RecordText.h"
#include "common/RemotePath.h"
#include "common/TextCodec.h"
#include "common/Word.h"
#include "engine/MasterFTP.h"
#include "filter/FilterForm.h"
#include "filter/NoWizardFilterFile.h"
#include "filter/WizardFilterForm.h"
#include "queue/AskOverwriteForm.h"
#include "queue/AsciiFileRule.h"
#include "queue/GetFilesListForm.h"
#include "queue/LocalFolders.h"
#include "queue/QueueRecord.h"
#include "queue/QueueRunner.h"
#include "queue/TransferBuilderSetup.h"
#include "queue/TransferBuilders.h"
#include "editor/EditorForm.h"
#include "replace/RestoreForm.h"
#include "replace/SearchAndReplaceForm.h"
#include "replace/SearchResultModel.h"
#include "shell/MainFormTransferHost.h"
#include "shell/FileOpsWiring.h"
#include "shell/QueueWiring.h"
#include "shell/RestoreWiring.h"
#include "shell/SearchWiring.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <Qsci/qsciscintilla.h>

using namespace Velmora;
using namespace Velmora::Testing;
using namespace Qt::StringLiterals;

namespace {


class SftpSearchFlow : public AppFixture {
protected:
    void SetUp() override
    {
        m_agent = qgetenv("SSH_AUTH_SOCK");
        qunsetenv("SSH_AUTH_SOCK");
        existingProfile();
        ASSERT_TRUE(start());
        main().siteManagerTimer().stop();
        ASSERT_TRUE(ssh.start()) << ssh.errorText().toStdString();
        // CR LF and bare LF: SFTP carries every file byte for byte, text or not.
        ssh.writeFile(u"www/index.html"_s, "<p>old</p>\r\n<p>keep</p>\n");
        ssh.writeFile(u"www/css/site.css"_s, "body { color: old; }\n");
        ssh.writeFile(u"www/readme.txt"_s, "nothing to see\n");
        ssh.writeFile(u"www/logo.png"_s, QByteArray("\x89PNG old\r\n\x00", 11));
        ASSERT_TRUE(NoWizardFilterFile(context().folders.appDataFolder).write());
        AskOverwriteForm *ask = starter->dialogs().overwriteQuestion;
        auto *answer = new QTimer(ask);
        QObject::connect(answer, &QTimer::timeout, ask, [ask] {
            if (!ask->isVisible())
                return;
            ask->overwriteRadioButton()->click();
            ask->okButton()->click();
        });
        answer->start(0);

        localRoot = env.root() + u"loc/"_s;
        QDir().mkpath(localRoot);
        master = &starter->ftp();
        master->SetConnectionData(ssh.host(), QString::number(ssh.port()), ssh.user(), QString(), 0);
        master->setEncryption(FtpEncryption::Sftp);
        master->setKeyFile(ssh.userKeyFile());
        prompts.hostKeyAnswers = {UserPrompts::CertificateAnswer::TrustThisTime};
        ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
        main().SetIdleState();
        browser().FillServerGrid(ssh.root());
        browser().FillLocalGrid(localRoot);

        filter = std::make_unique<HandOverAllFilter>(context(), starter->queue().host());
        host = std::make_unique<MainFormTransferHost>(browser());
        builders = std::make_unique<TransferBuilders>(TransferBuilderSetup{
            context(), *master, starter->work(), starter->queue().host(), starter->queue().runner(), starter->queue().walker(),
            *starter->dialogs().walkProgress, *host, *starter->dialogs().wizardFilter, *filter, starter->search()});
        prompts.clear();
    }
    void TearDown() override
    {
        if (master && master->isConnected())
            master->Disconnect();
        AppFixture::TearDown();
        if (!m_agent.isNull())
            qputenv("SSH_AUTH_SOCK", m_agent);
    }

    BrowserController &browser() { return starter->browser(); }
    SearchAndReplaceForm &form() { return *starter->dialogs().searchAndReplace; }
    void select(BrowserSide side, const QString &name)
    {
        FileGridView *view = browser().pane(side).view();
        const FileGridModel &model = browser().pane(side).model();
        view->clearSelection();
        for (int row = 0; row < model.rowCount(); ++row) {
            if (model.nameAt(row) == name)
                view->selectionModel()->setCurrentIndex(view->model()->index(row, FileGridColumns::Name),
                                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    void inSearchWindow(std::function<void()> steps)
    {
        whenShown(&form(), [this, steps] {
            windowWasOpen = true;
            steps();
        });
    }

    SshTestServer ssh;
    MasterFTP *master = nullptr;
    QString localRoot;
    std::unique_ptr<HandOverAllFilter> filter;
    std::unique_ptr<MainFormTransferHost> host;
    std::unique_ptr<TransferBuilders> builders;
    bool windowWasOpen = false;

private:
    QByteArray m_agent;
};

} // namespace

TEST_F(SftpSearchFlow, ServerFilesAreChangedUploadedAndRestoredByteForByte)
{
    const QByteArray index = ssh.readFile(u"www/index.html"_s);
    const QByteArray css = ssh.readFile(u"www/css/site.css"_s);
    const QByteArray readme = ssh.readFile(u"www/readme.txt"_s);
    const QByteArray logo = ssh.readFile(u"www/logo.png"_s);
    const QString download = context().folders.downloadFolder();

    select(BrowserSide::Server, u"www"_s);
    inSearchWindow([&] {
        EXPECT_EQ(TestEnvironment::readFile(download + u"www/index.html"_s), index) << "the working copy is a byte copy";
        EXPECT_EQ(form().grid()->model()->rowCount(), 3);
        form().modeComboBox()->setCurrentIndex(0);
        form().searchEdit()->setText(u"old"_s);
        form().replaceEdit()->setText(u"new"_s);
        form().button("SearchAndReplaceServerBitBtn")->click();
        EXPECT_EQ(ssh.readFile(u"www/index.html"_s), index) << "nothing goes up before the window closes";
        form().button("UploadSearchAndReplaceBitBtn")->click();
    });
    builders->Search(GridSide::Server, SearchKind::SearchAndReplace);
    ASSERT_TRUE(windowWasOpen);

    EXPECT_EQ(ssh.readFile(u"www/index.html"_s), "<p>new</p>\r\n<p>keep</p>\n");
    EXPECT_EQ(ssh.readFile(u"www/css/site.css"_s), "body { color: new; }\n");
    EXPECT_EQ(ssh.readFile(u"www/readme.txt"_s), readme);
    EXPECT_EQ(ssh.readFile(u"www/logo.png"_s), logo);
    EXPECT_TRUE(w().restoreButtonAction->isVisible());

    RestoreForm &restore = *starter->dialogs().restore;
    QTimer::singleShot(0, &restore, [&restore, this] {
        ASSERT_EQ(restore.grid()->model()->rowCount(), 1);
        prompts.confirmAnswers = {true};
        restore.restoreButton()->click();
    });
    prompts.clear();
    w().restoreButton->click();
    EXPECT_EQ(prompts.shown.value(1), u"information: Backup restored."_s) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(ssh.readFile(u"www/index.html"_s), index);
    EXPECT_EQ(ssh.readFile(u"www/css/site.css"_s), css);
    EXPECT_EQ(ssh.readFile(u"www/readme.txt"_s), readme);
    EXPECT_EQ(ssh.readFile(u"www/logo.png"_s), logo);
    EXPECT_FALSE(QFileInfo::exists(ssh.remotePath(u"www/BACKUPINFO.VELMORA"_s)));
}
