#include "OptionsForm.h"

#include "LogArchive.h"
#include "Named.h"
#include "ProtocolLog.h"
#include "UserPrompts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace Velmora {

OptionsForm::OptionsForm(const AppContext &context, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("Options"), QStringLiteral("Optionen"))
{
    setObjectName(QStringLiteral("OptionsForm"));
    buildControls();
    retranslate();
    LoadOptions();
}

void OptionsForm::buildControls()
{
    auto *grid = new QGridLayout;
    contentLayout()->addLayout(grid);

    m_editorGroup = named(new QGroupBox(this), "EditorGroupBox");
    auto *editor = new QVBoxLayout(m_editorGroup);
    m_internal = named(new QRadioButton(m_editorGroup), "InternalRadioButton");
    m_extension = named(new QRadioButton(m_editorGroup), "ExtensionRadioButton");
    m_external = named(new QRadioButton(m_editorGroup), "ExternalRadioButton");
    auto *exeRow = new QHBoxLayout;
    m_externalExe = named(new QLineEdit(m_editorGroup), "ExteralEditorEdit");
    m_externalBrowse = named(new QPushButton(QStringLiteral("..."), m_editorGroup), "ExternalEditorButton");
    m_externalBrowse->setFixedWidth(32);
    exeRow->addWidget(m_externalExe);
    exeRow->addWidget(m_externalBrowse);
    editor->addWidget(m_internal);
    editor->addWidget(m_extension);
    editor->addWidget(m_external);
    editor->addLayout(exeRow);
    grid->addWidget(m_editorGroup, 0, 0);

    m_keepAliveGroup = named(new QGroupBox(this), "KeepAliveGroupBox");
    auto *keep = new QVBoxLayout(m_keepAliveGroup);
    m_keepalive = named(new QCheckBox(m_keepAliveGroup), "KeepaliveCheckBox");
    auto *intervalRow = new QHBoxLayout;
    m_sendAllLabel = named(new QLabel(m_keepAliveGroup), "KeepAliveLabel");
    m_interval = named(new QLineEdit(QStringLiteral("30"), m_keepAliveGroup), "KeepAliveEdit");
    m_interval->setFixedWidth(60);
    m_secondsLabel = named(new QLabel(m_keepAliveGroup), "SecondsLabel");
    intervalRow->addWidget(m_sendAllLabel);
    intervalRow->addWidget(m_interval);
    intervalRow->addWidget(m_secondsLabel);
    intervalRow->addStretch();
    keep->addWidget(m_keepalive);
    keep->addLayout(intervalRow);
    keep->addStretch();
    grid->addWidget(m_keepAliveGroup, 0, 1);

    m_settingsGroup = named(new QGroupBox(this), "SettingsGroupBox");
    auto *settings = new QVBoxLayout(m_settingsGroup);
    auto *logRow = new QHBoxLayout;
    m_logfiles = named(new QCheckBox(m_settingsGroup), "LogfilesCheckBox");
    m_zipLogfiles = named(new QPushButton(m_settingsGroup), "ZipLogfilesButton");
    logRow->addWidget(m_logfiles);
    logRow->addStretch();
    logRow->addWidget(m_zipLogfiles);
    m_ftpConnections = named(new QCheckBox(m_settingsGroup), "FTPConnectionsCheckBox");
    m_allwaysOverwrite = named(new QCheckBox(m_settingsGroup), "AllwaysOverwriteCheckBox");
    m_automaticRun = named(new QCheckBox(m_settingsGroup), "AutomaticRunQueueCheckBox");
    settings->addLayout(logRow);
    settings->addWidget(m_ftpConnections);
    settings->addWidget(m_allwaysOverwrite);
    settings->addWidget(m_automaticRun);
    m_keyringPasswords = named(new QCheckBox(m_settingsGroup), "KeyringPasswordsCheckBox");
    settings->addWidget(m_keyringPasswords);
    auto *simultaneousRow = new QHBoxLayout;
    m_simultaneousLabel = named(new QLabel(m_settingsGroup), "SimultaneousTransfersLabel");
    m_simultaneous = named(new QSpinBox(m_settingsGroup), "SimultaneousTransfersSpinBox");
    m_simultaneous->setRange(OptionsData::MinSimultaneousTransfers, OptionsData::MaxSimultaneousTransfers);
    m_simultaneousLabel->setBuddy(m_simultaneous);
    simultaneousRow->addWidget(m_simultaneousLabel);
    simultaneousRow->addWidget(m_simultaneous);
    simultaneousRow->addStretch();
    settings->addLayout(simultaneousRow);
    auto *trustRow = new QHBoxLayout;
    m_trustedCertificates = named(new QPushButton(m_settingsGroup), "TrustedCertificatesButton");
    trustRow->addWidget(m_trustedCertificates);
    trustRow->addStretch();
    settings->addLayout(trustRow);
    connect(m_trustedCertificates, &QPushButton::clicked, this, &OptionsForm::trustedCertificatesRequested);
    connect(m_keyringPasswords, &QCheckBox::clicked, this, [this] { m_keyringClicked = true; });
    grid->addWidget(m_settingsGroup, 1, 0);

    m_chartsGroup = named(new QGroupBox(this), "ChartsGroupBox");
    auto *charts = new QVBoxLayout(m_chartsGroup);
    m_showCharts = named(new QCheckBox(m_chartsGroup), "ShowChartsCheckBox");
    m_chartsSubPanel = named(new QWidget(m_chartsGroup), "ChartsSubPanel");
    auto *sub = new QVBoxLayout(m_chartsSubPanel);
    sub->setContentsMargins(18, 0, 0, 0);
    m_closeCharts = named(new QCheckBox(m_chartsSubPanel), "CloseChartsCheckBox");
    m_resetCharts = named(new QCheckBox(m_chartsSubPanel), "ResetChartsCheckBox");
    sub->addWidget(m_closeCharts);
    sub->addWidget(m_resetCharts);
    charts->addWidget(m_showCharts);
    charts->addWidget(m_chartsSubPanel);
    charts->addStretch();
    grid->addWidget(m_chartsGroup, 1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok = named(new QPushButton(this), "OKButton");
    m_ok->setDefault(true);
    m_abort = named(new QPushButton(this), "AbortButton");
    buttons->addWidget(m_ok);
    buttons->addWidget(m_abort);
    contentLayout()->addLayout(buttons);

    for (QRadioButton *radio : {m_internal, m_extension, m_external})
        connect(radio, &QRadioButton::toggled, this, &OptionsForm::updateVisibility);
    connect(m_keepalive, &QCheckBox::clicked, this, &OptionsForm::updateVisibility);
    connect(m_showCharts, &QCheckBox::clicked, this, &OptionsForm::updateVisibility);
    // These two take effect at once, before OK: in the options object, without being stored, so
    // Abort leaves the effect until the options are read again and no other save stores it.
    connect(m_allwaysOverwrite, &QCheckBox::clicked, this, [this](bool on) {
        context().options.applyUnsaved(&OptionsData::allwaysOverwrite, on);
        Q_EMIT overwritePolicyApplied(on);
    });
    connect(m_automaticRun, &QCheckBox::clicked, this, [this](bool on) {
        context().options.applyUnsaved(&OptionsData::automaticRunQueue, on);
        Q_EMIT automaticRunApplied(on);
    });
    connect(m_ok, &QPushButton::clicked, this, &OptionsForm::OKButtonClick);
    connect(m_abort, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_zipLogfiles, &QPushButton::clicked, this, &OptionsForm::ZipLogfilesButtonClick);
    connect(m_externalBrowse, &QPushButton::clicked, this, &OptionsForm::ExternalEditorButtonClick);
}

void OptionsForm::retranslate()
{
    m_editorGroup->setTitle(text(QStringLiteral("Editor"), QStringLiteral("Editor")));
    m_internal->setText(text(QStringLiteral("Internal editor"), QStringLiteral("Interner Editor")));
    m_extension->setText(text(QStringLiteral("Start with system extension"), QStringLiteral("Mit Systemverknüpfung starten")));
    m_external->setText(text(QStringLiteral("External editor"), QStringLiteral("Externer Editor")));
    m_keepAliveGroup->setTitle(text(QStringLiteral("Keep alive"), QStringLiteral("Verbindung halten")));
    m_keepalive->setText(text(QStringLiteral("Send keep alive command for server"),
                              QStringLiteral("Keep-Alive-Befehl an den Server senden")));
    m_sendAllLabel->setText(text(QStringLiteral("Send command all"), QStringLiteral("Befehl senden alle")));
    m_secondsLabel->setText(text(QStringLiteral("seconds"), QStringLiteral("Sekunden")));
    m_settingsGroup->setTitle(text(QStringLiteral("Settings"), QStringLiteral("Einstellungen")));
    m_logfiles->setText(text(QStringLiteral("Write logfiles"), QStringLiteral("Logdateien schreiben")));
    m_zipLogfiles->setText(text(QStringLiteral("Zip logfiles"), QStringLiteral("Logdateien zippen")));
    m_ftpConnections->setText(text(QStringLiteral("Show FTP connections at program start"),
                                   QStringLiteral("FTP Verbindungen beim Programmstart anzeigen")));
    m_allwaysOverwrite->setText(text(QStringLiteral("Always overwrite files"), QStringLiteral("Dateien immer überschreiben")));
    m_automaticRun->setText(text(QStringLiteral("Automatic run queue"), QStringLiteral("Warteschlange automatisch ausführen")));
    m_keyringPasswords->setText(text(QStringLiteral("Keep passwords in the desktop keyring"),
                                      QStringLiteral("Passwörter im Schlüsselbund des Desktops aufbewahren")));
    m_simultaneousLabel->setText(text(QStringLiteral("Simultaneous transfers"), QStringLiteral("Gleichzeitige Übertragungen")));
    m_trustedCertificates->setText(text(QStringLiteral("Trusted certificates..."), QStringLiteral("Vertrauenswürdige Zertifikate...")));
    m_chartsGroup->setTitle(text(QStringLiteral("Transfer charts"), QStringLiteral("Transfer Diagramme")));
    m_showCharts->setText(text(QStringLiteral("Show charts at transfer"), QStringLiteral("Diagramme beim Transfer anzeigen")));
    m_closeCharts->setText(text(QStringLiteral("Automatic close charts after transfer"),
                                QStringLiteral("Transfer Diagramme automatisch schließen nach dem Transfer")));
    m_resetCharts->setText(text(QStringLiteral("Reset charts at queue starting"),
                                QStringLiteral("Diagramme beim Start der Warteschlange zurücksetzen")));
    m_ok->setText(QStringLiteral("OK"));
    m_abort->setText(text(QStringLiteral("Abort"), QStringLiteral("Abbrechen")));
}

void OptionsForm::fillControls(const OptionsData &d)
{
    m_logfiles->setChecked(d.logfiles);
    m_ftpConnections->setChecked(d.ftpConnections);
    m_allwaysOverwrite->setChecked(d.allwaysOverwrite);
    m_automaticRun->setChecked(d.automaticRunQueue);
    m_internal->setChecked(d.internalEditor);
    m_extension->setChecked(d.startWithSystemExtension);
    m_external->setChecked(d.externalEditor);
    if (!d.internalEditor && !d.startWithSystemExtension && !d.externalEditor)
        m_internal->setChecked(true);
    m_externalExe->setText(d.externalEditorExe);
    m_keepalive->setChecked(d.keepalive);
    m_interval->setText(d.keepaliveTime);
    m_showCharts->setChecked(d.showCharts);
    m_closeCharts->setChecked(d.closeCharts);
    m_resetCharts->setChecked(d.resetCharts);
    m_keyringPasswords->setChecked(keyringInEffect(d));
    m_simultaneous->setValue(d.simultaneousTransfers);
    m_keyringClicked = false;
}

bool OptionsForm::keyringInEffect(const OptionsData &d) const
{
    if (d.keyringPasswordsChosen)
        return d.keyringPasswords;
    return m_keyringDefault && m_keyringDefault();
}

OptionsData OptionsForm::dataFromControls() const
{
    OptionsData d;
    d.logfiles = m_logfiles->isChecked();
    d.ftpConnections = m_ftpConnections->isChecked();
    d.allwaysOverwrite = m_allwaysOverwrite->isChecked();
    d.automaticRunQueue = m_automaticRun->isChecked();
    d.internalEditor = m_internal->isChecked();
    d.startWithSystemExtension = m_extension->isChecked();
    d.externalEditor = m_external->isChecked();
    d.externalEditorExe = m_externalExe->text();
    d.keepalive = m_keepalive->isChecked();
    d.keepaliveTime = m_interval->text();
    d.filterOn = m_filterState ? m_filterState() : context().options.data().filterOn;
    d.showCharts = m_showCharts->isChecked();
    d.closeCharts = m_closeCharts->isChecked();
    d.resetCharts = m_resetCharts->isChecked();
    d.simultaneousTransfers = m_simultaneous->value();
    // Stored once the user has chosen; until then it follows whether a keyring answers.
    const OptionsData &stored = context().options.data();
    d.keyringPasswordsChosen = stored.keyringPasswordsChosen || m_keyringClicked;
    d.keyringPasswords = d.keyringPasswordsChosen ? m_keyringPasswords->isChecked() : stored.keyringPasswords;
    return d;
}

void OptionsForm::updateVisibility()
{
    m_chartsSubPanel->setVisible(m_showCharts->isChecked());
    const bool external = m_external->isChecked();
    m_externalExe->setVisible(external);
    m_externalBrowse->setVisible(external);
    const bool keepalive = m_keepalive->isChecked();
    m_sendAllLabel->setVisible(keepalive);
    m_interval->setVisible(keepalive);
    m_secondsLabel->setVisible(keepalive);
}

void OptionsForm::LoadOptions()
{
    QString problem;
    if (!context().options.load(&problem)) {
        for (const QString &line : problem.split(u'\n'))
            context().protocol.AddProtocolMessage(ProtocolEntry::Error, line);
    }
    const OptionsData &d = context().options.data();
    fillControls(d);
    updateVisibility();
    context().protocol.setWriteLogfiles(d.logfiles);
    Q_EMIT overwritePolicyApplied(d.allwaysOverwrite);
    Q_EMIT automaticRunApplied(d.automaticRunQueue);
    Q_EMIT keepAliveApplied(d.keepalive, context().options.keepaliveSeconds());
    Q_EMIT filterStateApplied(d.filterOn);
}

void OptionsForm::SaveOptions()
{
    OptionsData d = dataFromControls();
    if (!Options::isValidInterval(d.keepaliveTime))
        d.keepaliveTime = context().options.data().keepaliveTime;
    context().options.setData(d);
    context().options.save();
    context().protocol.setWriteLogfiles(d.logfiles);
}

void OptionsForm::setCloseCharts(bool on)
{
    // One value changes and is saved; the dialog's other controls may be stale and stay unread.
    m_closeCharts->setChecked(on);
    context().options.change(&OptionsData::closeCharts, on);
}

void OptionsForm::showEvent(QShowEvent *event)
{
    LoadOptions();
    ToolDialog::showEvent(event);
}

void OptionsForm::OKButtonClick()
{
    if (!Options::isValidInterval(m_interval->text())) {
        context().prompts.information(text(QStringLiteral("Keep alive time ist not correct integer."),
                                            QStringLiteral("Die Keep-Alive-Zeit ist keine gültige Ganzzahl.")));
        return;
    }
    const bool keyringBefore = keyringInEffect(context().options.data());
    SaveOptions();
    Q_EMIT keepAliveApplied(m_keepalive->isChecked(), context().options.keepaliveSeconds());
    if (keyringInEffect(context().options.data()) != keyringBefore)
        Q_EMIT keyringPasswordsApplied(!keyringBefore);
    accept();
}

void OptionsForm::ZipLogfilesButtonClick()
{
    const QString chosen = context().prompts.saveFile(text(QStringLiteral("Zip logfiles"), QStringLiteral("Logdateien zippen")),
                                                       context().folders.desktopFolder, LogArchive::ArchiveName,
                                                       QStringLiteral("zip"), QStringLiteral("ZIP (*.zip)"));
    if (chosen.isEmpty())
        return;
    LogArchive::write(context().folders.appDataFolder, LogArchive::targetFor(chosen));
}

void OptionsForm::ExternalEditorButtonClick()
{
    const QString program = context().prompts.openFile(text(QStringLiteral("External editor"), QStringLiteral("Externer Editor")),
                                                        QStringLiteral("/usr/bin"), text(QStringLiteral("Programs (*)"), QStringLiteral("Programme (*)")));
    if (!program.isEmpty())
        m_externalExe->setText(program);
}

} // namespace Velmora
