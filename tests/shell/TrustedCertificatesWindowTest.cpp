// Options > "Trusted certificates..." against pyftpdlib over TLS: what "Trust always" kept is
// listed with server, fingerprint, subject and expiry; removing an entry leaves the other lines
// of the file as they were, and the next connect to that server asks again.
#include "AppFixture.h"
#include "FtpTestServer.h"
#include "QtPrinters.h"
#include "TlsTestCertificates.h"
#include "WhenShown.h"

#include "app/OptionsForm.h"
#include "engine/CertificateTrustStore.h"
#include "engine/MasterFTP.h"
#include "shell/TrustedCertificatesForm.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSslCertificate>
#include <QStandardItemModel>
#include <QTableView>

using namespace Velmora;
using namespace Velmora::Testing;
using CertificateAnswer = UserPrompts::CertificateAnswer;

namespace {

class TrustedCertificatesWindow : public AppFixture {
protected:
    void SetUp() override { ASSERT_TRUE(certificates.isValid()) << certificates.errorText().toStdString(); }
    void TearDown() override
    {
        if (starter && starter->ftp().isConnected())
            starter->ftp().Disconnect();
        AppFixture::TearDown();
        server.reset();
    }

    void startProgramAndServer(const QByteArray &language)
    {
        existingProfile(true, true, language);
        ASSERT_TRUE(start());
        FtpTestServer::Setup setup;
        setup.tls = QStringLiteral("explicit");
        setup.certificateFile = certificates.file(QStringLiteral("self-signed.pem"));
        server = std::make_unique<FtpTestServer>(setup);
        ASSERT_TRUE(server->start()) << server->errorText().toStdString();
    }
    // Connects and disconnects, answering the certificate window (if it comes) as given;
    // returns whether it came.
    bool connectAsked(CertificateAnswer answer)
    {
        MasterFTP &master = starter->ftp();
        master.setEncryption(FtpEncryption::ExplicitRequired);
        master.SetConnectionData(server->host(), QString::number(server->port()), server->user(), server->password(), 0);
        prompts.clear();
        prompts.certificateAnswers = {answer};
        const bool connected = master.Connect(false);
        const bool asked = !prompts.shown.filter(QStringLiteral("askCertificate: ")).isEmpty();
        EXPECT_EQ(connected, answer != CertificateAnswer::Cancel || !asked) << prompts.shown.join(u'\n').toStdString();
        if (master.isConnected())
            master.Disconnect();
        return asked;
    }
    QString trustFile() const { return env.appDataFolder() + CertificateTrustStore::FileName; }
    QString detailsFile() const { return env.appDataFolder() + CertificateTrustStore::DetailsFileName; }
    // Opens Options, clicks "Trusted certificates..." and acts in that window while it is open.
    void inTrustedCertificates(const std::function<void(TrustedCertificatesForm &)> &act)
    {
        OptionsForm &options = *starter->dialogs().options;
        TrustedCertificatesForm &form = *starter->dialogs().trustedCertificates;
        bool acted = false;
        whenShown(&options, [&] {
            whenShown(&form, [&] {
                act(form);
                acted = true;
                form.reject();
            });
            options.findChild<QPushButton *>(QStringLiteral("TrustedCertificatesButton"))->click();
            options.reject();
        });
        w().optionsAction->trigger();
        EXPECT_TRUE(acted);
    }
    static QStringList row(const QStandardItemModel &model, int r)
    {
        QStringList cells;
        for (int c = 0; c < model.columnCount(); ++c)
            cells << model.index(r, c).data().toString();
        return cells;
    }
    static QStringList headers(const QStandardItemModel &model)
    {
        QStringList texts;
        for (int c = 0; c < model.columnCount(); ++c)
            texts << model.headerData(c, Qt::Horizontal).toString();
        return texts;
    }

    TlsTestCertificates certificates;
    std::unique_ptr<FtpTestServer> server;
};

} // namespace

TEST_F(TrustedCertificatesWindow, ListsWhatTrustAlwaysKeptAndRemovesAnEntrySoTheNextConnectAsksAgain)
{
    startProgramAndServer("ENGLISH");
    // An entry an older version kept (no subject, no expiry) and a line that is no entry.
    env.writeFile(trustFile(), "ftp.example.org 21 AA:BB\nthis line is damaged\n");
    ASSERT_TRUE(connectAsked(CertificateAnswer::TrustAlways));
    ASSERT_FALSE(connectAsked(CertificateAnswer::Cancel)); // kept: no question

    const QSslCertificate certificate = QSslCertificate::fromPath(certificates.file(QStringLiteral("self-signed.pem"))).first();
    const QString fingerprint = certificates.fingerprint(QStringLiteral("self-signed.pem"));
    const QString site = QStringLiteral("127.0.0.1:%1").arg(server->port());
    inTrustedCertificates([&](TrustedCertificatesForm &form) {
        EXPECT_EQ(form.windowTitle(), context().captionText());
        EXPECT_EQ(form.headerTitle(), QStringLiteral("Trusted certificates"));
        const QStandardItemModel &model = *form.model();
        EXPECT_EQ(headers(model), (QStringList{u"Server"_qs, u"Subject"_qs, u"Valid until"_qs, u"Fingerprint (SHA-256)"_qs}));
        ASSERT_EQ(model.rowCount(), 2);
        EXPECT_EQ(row(model, 0), (QStringList{site, u"CN=127.0.0.1, O=Velmora Test"_qs,
                                              certificate.expiryDate().toUTC().toString(u"yyyy-MM-dd hh:mm"_qs) + u" UTC"_qs,
                                              fingerprint}));
        EXPECT_EQ(row(model, 1), (QStringList{u"ftp.example.org:21"_qs, u"(not recorded)"_qs, u"-"_qs, u"AA:BB"_qs}));
        const auto *unreadable = form.findChild<QLabel *>(QStringLiteral("UnreadableLinesLabel"));
        EXPECT_EQ(unreadable->text(),
                  QStringLiteral("Line 3 of %1 is no entry and is kept as it is: this line is damaged").arg(trustFile()));
        EXPECT_TRUE(unreadable->isVisible());
        EXPECT_EQ(form.findChild<QLabel *>(QStringLiteral("HostKeysLabel"))->text(),
                  u"Host keys of SFTP servers are kept in ~/.ssh/known_hosts, as ssh keeps them. Remove one with: "
                  u"ssh-keygen -R \"[host]:port\" (only the host name for port 22)."_qs);

        auto *remove = form.findChild<QPushButton *>(QStringLiteral("RemoveButton"));
        EXPECT_FALSE(remove->isEnabled()); // nothing selected
        form.grid()->selectRow(0);
        ASSERT_TRUE(remove->isEnabled());
        prompts.clear();
        prompts.confirmAnswers = {false};
        remove->click();
        EXPECT_EQ(model.rowCount(), 2); // "No" keeps it
        form.grid()->selectRow(0);
        prompts.confirmAnswers = {true};
        remove->click();
        EXPECT_EQ(prompts.shown,
                  QStringList(2, QStringLiteral("confirm: Trust the certificate of %1 no longer? The next connect to it asks "
                                                "again.")
                                     .arg(site)));
        ASSERT_EQ(model.rowCount(), 1);
        EXPECT_EQ(row(model, 0).first(), u"ftp.example.org:21"_qs);
    });

    // The other entry and the damaged line are kept as they were; the details went with the entry.
    EXPECT_EQ(TestEnvironment::readFile(trustFile()), QByteArray("ftp.example.org 21 AA:BB\nthis line is damaged\n"));
    EXPECT_EQ(QFileInfo(trustFile()).permissions() & 0xF0FF, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_FALSE(QFileInfo::exists(detailsFile()));
    EXPECT_TRUE(connectAsked(CertificateAnswer::Cancel));
}

TEST_F(TrustedCertificatesWindow, SpeaksGerman)
{
    startProgramAndServer("GERMAN");
    ASSERT_TRUE(connectAsked(CertificateAnswer::TrustAlways));
    EXPECT_EQ(starter->dialogs().options->findChild<QPushButton *>(QStringLiteral("TrustedCertificatesButton"))->text(),
              QString::fromUtf8("Vertrauenswürdige Zertifikate..."));
    inTrustedCertificates([&](TrustedCertificatesForm &form) {
        EXPECT_EQ(form.headerTitle(), QString::fromUtf8("Vertrauenswürdige Zertifikate"));
        EXPECT_EQ(headers(*form.model()),
                  (QStringList{u"Server"_qs, u"Inhaber"_qs, QString::fromUtf8("Gültig bis"), u"Fingerabdruck (SHA-256)"_qs}));
        EXPECT_EQ(form.findChild<QPushButton *>(QStringLiteral("RemoveButton"))->text(), u"Entfernen"_qs);
        EXPECT_EQ(form.findChild<QPushButton *>(QStringLiteral("CloseButton"))->text(), QString::fromUtf8("Schließen"));
        EXPECT_FALSE(form.findChild<QLabel *>(QStringLiteral("UnreadableLinesLabel"))->isVisible());
        form.grid()->selectRow(0);
        prompts.clear();
        prompts.confirmAnswers = {true};
        form.findChild<QPushButton *>(QStringLiteral("RemoveButton"))->click();
        EXPECT_EQ(prompts.shown, QStringList{QString::fromUtf8("confirm: Dem Zertifikat von 127.0.0.1:%1 nicht mehr vertrauen? "
                                                               "Beim nächsten Verbinden wird wieder gefragt.")
                                                 .arg(server->port())});
        EXPECT_EQ(form.model()->rowCount(), 0);
    });
    EXPECT_TRUE(TestEnvironment::readFile(trustFile()).isEmpty());
}
