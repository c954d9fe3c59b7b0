// Rename on an SFTP site as a user does it in the running program: F6 on the server grid, the
// new name typed into the name window; against OpenSSH's sshd. An SFTP rename onto an existing
// name would replace it on the server, so the program's refusal is what keeps that file.
#include "AppFixture.h"
#include "QtPrinters.h"
#include "SshTestServer.h"

#include "app/DialogHeader.h"
#include "browser/BrowserController.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "browser/RenameForm.h"
#include "engine/MasterFTP.h"
#include "engine/ftp/FtpEncryption.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Velmora;
using namespace Velmora::Testing;
using namespace Qt::StringLiterals;

namespace {

class SftpRenameWindow : public AppFixture {
protected:
    void SetUp() override
    {
        m_agent = qgetenv("SSH_AUTH_SOCK");
        qunsetenv("SSH_AUTH_SOCK");
        existingProfile();
        ASSERT_TRUE(start());
        main().siteManagerTimer().stop();
        ASSERT_TRUE(ssh.start()) << ssh.errorText().toStdString();
        master = &starter->ftp();
        master->SetConnectionData(ssh.host(), QString::number(ssh.port()), ssh.user(), QString(), 0);
        master->setEncryption(FtpEncryption::Sftp);
        master->setKeyFile(ssh.userKeyFile());
        prompts.hostKeyAnswers = {UserPrompts::CertificateAnswer::TrustThisTime};
        ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
        main().SetIdleState();
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
    FileGridPane &pane() { return browser().pane(BrowserSide::Server); }
    QStringList names()
    {
        QStringList out;
        for (int row = 0; row < pane().model().rowCount(); ++row)
            out << pane().model().nameAt(row);
        return out;
    }
    QString currentName() { return pane().model().nameAt(pane().view()->currentIndex().row()); }
    void select(const QString &name)
    {
        const int row = int(names().indexOf(name));
        ASSERT_GE(row, 0) << name.toStdString() << " not in " << names().join(u'|').toStdString();
        pane().selectRow(row);
    }
    // Types the new name into the name window once it is up and presses OK; returns the name
    // the window offered.
    void renameSelected(const QString &newName, QString *offered)
    {
        RenameForm *form = starter->dialogs().rename;
        QTimer::singleShot(0, form, [form, newName, offered] {
            if (!form->isVisible())
                return;
            *offered = form->nameEdit()->text();
            form->nameEdit()->setText(newName);
            form->okButton()->click();
        });
        QTest::keyClick(pane().view(), Qt::Key_F6);
    }

    SshTestServer ssh;
    MasterFTP *master = nullptr;

private:
    QByteArray m_agent;
};

} // namespace

// Files and folders with blanks, umlauts and a leading blank get their new names on the server,
// their contents unchanged, and the grid shows the entry under its new name, still selected.
TEST_F(SftpRenameWindow, F6RenamesFilesAndFoldersOnTheServer)
{
    const QByteArray binary("\x00\x01\xff\r\n\n", 6);
    ssh.writeFile(u"site/with blanks.bin"_s, binary);
    ssh.writeFile(u"site/ leading.txt"_s, "lead\n");
    ssh.writeFile(u"site/sub dir/inner.txt"_s, "inner\n");
    ssh.writeFile(u"site/empty.txt"_s, QByteArray());
    struct Case {
        QString from;
        QString to;
        QString probe;     // a file that must arrive under the new name (relative to site/)
        QByteArray content;
    };
    const Case cases[] = {
        {u"with blanks.bin"_s, u"Grüße übers Meer.bin"_s, u"Grüße übers Meer.bin"_s, binary},
        {u" leading.txt"_s, u" still leading.txt"_s, u" still leading.txt"_s, "lead\n"},
        {u"sub dir"_s, u"Ordner ä"_s, u"Ordner ä/inner.txt"_s, "inner\n"},
        {u"empty.txt"_s, u"nothing.txt"_s, u"nothing.txt"_s, QByteArray()},
    };
    browser().FillServerGrid(ssh.remotePath(u"site"_s));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.from.toStdString());
        select(c.from);
        QString offered;
        renameSelected(c.to, &offered);
        EXPECT_EQ(offered, c.from);
        EXPECT_FALSE(QFileInfo::exists(ssh.remotePath(u"site/"_s + c.from)));
        EXPECT_TRUE(QFileInfo::exists(ssh.remotePath(u"site/"_s + c.probe)));
        EXPECT_EQ(ssh.readFile(u"site/"_s + c.probe), c.content);
        EXPECT_TRUE(names().contains(c.to)) << names().join(u'|').toStdString();
        EXPECT_FALSE(names().contains(c.from)) << names().join(u'|').toStdString();
        EXPECT_EQ(currentName(), c.to);
    }
    EXPECT_EQ(prompts.shown, QStringList()) << "no window but the name window";
    EXPECT_EQ(QDir(ssh.remotePath(u"site"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name),
              (QStringList{u" still leading.txt"_s, u"Grüße übers Meer.bin"_s, u"Ordner ä"_s, u"nothing.txt"_s}));
}

// A name that is taken is refused before the server is asked: SFTP would replace the file.
TEST_F(SftpRenameWindow, RenameOntoATakenNameKeepsBothFiles)
{
    ssh.writeFile(u"site/a.txt"_s, "a\n");
    ssh.writeFile(u"site/b.txt"_s, "b\n");
    browser().FillServerGrid(ssh.remotePath(u"site"_s));
    select(u"a.txt"_s);
    QString offered;
    renameSelected(u"b.txt"_s, &offered);
    EXPECT_EQ(prompts.shown,
              QStringList{u"information: A file or folder named \"b.txt\" exists already. Nothing was renamed."_s});
    EXPECT_EQ(ssh.readFile(u"site/a.txt"_s), "a\n");
    EXPECT_EQ(ssh.readFile(u"site/b.txt"_s), "b\n");
}
