#include "AppFixture.h"

#include "app/OptionsForm.h"
#include "app/ProtocolLog.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>
#include <zip.h>

using namespace Velmora;
using namespace Velmora::Testing;

class OptionsDialog : public AppFixture {
protected:
    void SetUp() override { existingProfile(); }

    OptionsForm &form() { return *starter->dialogs().options; }
    template <typename T>
    T *control(const char *name) { return form().findChild<T *>(QString::fromLatin1(name)); }
    QString optionsFile() const { return env.appDataFolder() + QStringLiteral("options.ini"); }
};

TEST_F(OptionsDialog, RefusesAnIntervalThatIsNotDigits)
{
    ASSERT_TRUE(start());
    form().show();
    control<QCheckBox>("KeepaliveCheckBox")->click();
    for (const char *bad : {"3a", " 30", ""}) {
        prompts.clear();
        control<QLineEdit>("KeepAliveEdit")->setText(QString::fromLatin1(bad));
        form().okButton()->click();
        EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("information: Keep alive time ist not correct integer.")}) << bad;
        EXPECT_TRUE(form().isVisible());
        EXPECT_FALSE(QFileInfo::exists(optionsFile()));
    }
}

TEST_F(OptionsDialog, OkSavesAndAppliesTheInterval)
{
    ASSERT_TRUE(start());
    QSignalSpy keepAlive(&form(), &OptionsForm::keepAliveApplied);
    form().show();
    control<QCheckBox>("KeepaliveCheckBox")->click();
    control<QLineEdit>("KeepAliveEdit")->setText(QStringLiteral("030"));
    control<QRadioButton>("ExtensionRadioButton")->click();
    form().okButton()->click();
    EXPECT_FALSE(form().isVisible());
    const QByteArray saved = TestEnvironment::readFile(optionsFile());
    EXPECT_TRUE(saved.contains("\r\nKeepalive=1\r\nKeepaliveTime=030\r\n")) << saved.constData();
    EXPECT_TRUE(saved.contains("\r\nExternalEditor=1\r\nExtensionEditor=0\r\n")) << saved.constData();
    ASSERT_FALSE(keepAlive.isEmpty());
    EXPECT_EQ(keepAlive.last().at(0).toBool(), true);
    EXPECT_EQ(keepAlive.last().at(1).toInt(), 30);
}

TEST_F(OptionsDialog, ControlsShowAndHideWithTheirSwitches)
{
    ASSERT_TRUE(start());
    form().show();
    EXPECT_TRUE(control<QLineEdit>("KeepAliveEdit")->isHidden());
    EXPECT_TRUE(control<QLineEdit>("ExteralEditorEdit")->isHidden());
    EXPECT_FALSE(control<QWidget>("ChartsSubPanel")->isHidden());
    control<QCheckBox>("KeepaliveCheckBox")->click();
    control<QRadioButton>("ExternalRadioButton")->click();
    control<QCheckBox>("ShowChartsCheckBox")->click();
    EXPECT_FALSE(control<QLineEdit>("KeepAliveEdit")->isHidden());
    EXPECT_FALSE(control<QLabel>("KeepAliveLabel")->isHidden());
    EXPECT_FALSE(control<QLineEdit>("ExteralEditorEdit")->isHidden());
    EXPECT_FALSE(control<QPushButton>("ExternalEditorButton")->isHidden());
    EXPECT_TRUE(control<QWidget>("ChartsSubPanel")->isHidden());
}

TEST_F(OptionsDialog, AbortKeepsTheImmediateEffectUntilShownAgain)
{
    ASSERT_TRUE(start());
    form().show();
    control<QCheckBox>("AutomaticRunQueueCheckBox")->click();
    EXPECT_EQ(w().automaticRunButton->text(), QStringLiteral("MAN"));
    control<QPushButton>("AbortButton")->click();
    EXPECT_FALSE(QFileInfo::exists(optionsFile()));
    EXPECT_EQ(w().automaticRunButton->text(), QStringLiteral("MAN"));
    form().show();
    EXPECT_EQ(w().automaticRunButton->text(), QStringLiteral("AUTO"));
}

TEST_F(OptionsDialog, HandEditedIntervalIsReportedNotFatal)
{
    env.writeFile(optionsFile(), "[SETTINGS]\r\nKeepalive=1\r\nKeepaliveTime=soon\r\n");
    ASSERT_TRUE(start());
    bool reported = false;
    for (const ProtocolEntry &entry : context().protocol.entries())
        reported = reported || (entry.kind == ProtocolEntry::Error && entry.text.contains(QStringLiteral("KeepaliveTime")));
    EXPECT_TRUE(reported);
    EXPECT_EQ(control<QLineEdit>("KeepAliveEdit")->text(), QStringLiteral("30"));
}

TEST_F(OptionsDialog, ZipLogfilesWritesTheArchiveBesideTheChosenName)
{
    env.writeFile(env.appDataFolder() + QStringLiteral("protocol_messages.log"), "line\r\n");
    ASSERT_TRUE(start());
    prompts.fileAnswers = {env.root() + QStringLiteral("out/custom-name.zip")};
    QDir().mkpath(env.root() + QStringLiteral("out"));
    form().show();
    control<QPushButton>("ZipLogfilesButton")->click();
    EXPECT_EQ(prompts.shown.last(), QStringLiteral("saveFile: Zip logfiles|Velmora-Logfiles.zip"));
    EXPECT_EQ(prompts.lastStartFolder, context().folders.desktopFolder);
    const QString archive = env.root() + QStringLiteral("out/Velmora-Logfiles.zip");
    ASSERT_TRUE(QFileInfo::exists(archive));
    EXPECT_FALSE(QFileInfo::exists(env.root() + QStringLiteral("out/custom-name.zip")));
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &error);
    ASSERT_NE(zip, nullptr);
    EXPECT_GE(zip_name_locate(zip, "protocol_messages.log", 0), 0);
    zip_close(zip);
}

TEST_F(OptionsDialog, DialogCarriesCaptionAndHeader)
{
    ASSERT_TRUE(start());
    form().show();
    EXPECT_EQ(form().windowTitle(), main().windowTitle());
    EXPECT_EQ(form().headerTitle(), QStringLiteral("Options"));
}

TEST_F(OptionsDialog, SimultaneousTransfersAreChosenFromOneToEightAndSavedWithOk)
{
    ASSERT_TRUE(start());
    form().show();
    auto *spin = control<QSpinBox>("SimultaneousTransfersSpinBox");
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(control<QLabel>("SimultaneousTransfersLabel")->text(), QStringLiteral("Simultaneous transfers"));
    EXPECT_EQ(spin->value(), 1);
    EXPECT_EQ(spin->minimum(), 1);
    EXPECT_EQ(spin->maximum(), 8);
    spin->setValue(4);
    form().okButton()->click();
    EXPECT_EQ(context().options.data().simultaneousTransfers, 4);
    const QByteArray saved = TestEnvironment::readFile(optionsFile());
    EXPECT_TRUE(saved.contains("\r\nSimultaneousTransfers=4\r\n")) << saved.constData();
    form().show();
    EXPECT_EQ(spin->value(), 4);
}

TEST_F(OptionsDialog, SimultaneousTransfersCarryTheirGermanText)
{
    existingProfile(true, true, "GERMAN");
    ASSERT_TRUE(start());
    form().show();
    EXPECT_EQ(control<QLabel>("SimultaneousTransfersLabel")->text(), QStringLiteral("Gleichzeitige Übertragungen"));
}
