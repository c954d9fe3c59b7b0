#include "BatchJobForm.h"

#include "BatchJobBuilder.h"

#include "app/Named.h"
#include "app/UserPrompts.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace Velmora {

namespace {

// A read-only box that shows a long line whole, broken anywhere over up to three lines.
QPlainTextEdit *lineBox(QWidget *parent, const char *name)
{
    auto *box = named(new QPlainTextEdit(parent), name);
    box->setReadOnly(true);
    box->setWordWrapMode(QTextOption::WrapAnywhere);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->setFixedHeight(box->fontMetrics().lineSpacing() * 3 + 2 * box->frameWidth() + 8);
    return box;
}

} // namespace

BatchJobForm::BatchJobForm(const AppContext &context, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("Create batchjob"), QStringLiteral("Batchjob erzeugen"))
{
    setObjectName(QStringLiteral("BatchJobForm"));
    buildControls();
    retranslate();
    resetControls();
}

void BatchJobForm::buildControls()
{
    QVBoxLayout *layout = contentLayout();
    auto *steps = new QGridLayout;
    m_step1 = named(new QLabel(this), "Step1Label");
    m_step2 = named(new QLabel(this), "Step2Label");
    m_step3 = named(new QLabel(this), "Step3Label");
    m_step4 = named(new QLabel(this), "Step4Label");
    m_select = named(new QPushButton(this), "SelectQueueButton");
    m_queueFile = named(new QLabel(this), "QueueFileLabel");
    m_queueFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_build = named(new QPushButton(this), "BuildCommandLineButton");
    m_copy = named(new QPushButton(this), "CopyCommandLineButton");
    steps->addWidget(m_step1, 0, 0, 1, 3);
    steps->addWidget(m_step2, 1, 0, 1, 3);
    steps->addWidget(m_step3, 2, 0);
    steps->addWidget(m_select, 2, 1, 1, 2, Qt::AlignLeft);
    steps->addWidget(m_queueFile, 3, 0, 1, 3);
    steps->addWidget(m_step4, 4, 0);
    steps->addWidget(m_build, 4, 1);
    steps->addWidget(m_copy, 4, 2);
    layout->addLayout(steps);

    m_commandLine = lineBox(this, "CommandLineEdit");
    m_commandLine->setMinimumWidth(720);
    layout->addWidget(m_commandLine);

    auto *radios = new QHBoxLayout;
    m_runOnly = named(new QRadioButton(this), "RunQueueOnlyRadioButton");
    m_runAndClose = named(new QRadioButton(this), "RunQueueAndCloseRadioButton");
    m_runAndShutdown = named(new QRadioButton(this), "RunQueueAndShutdownRadioButton");
    radios->addWidget(m_runOnly);
    radios->addWidget(m_runAndClose);
    radios->addWidget(m_runAndShutdown);
    radios->addStretch();
    layout->addLayout(radios);

    m_help = named(new QGroupBox(this), "HelpGroupBox");
    auto *help = new QVBoxLayout(m_help);
    m_syntax = named(new QLabel(m_help), "SyntaxLabel");
    m_options = named(new QLabel(m_help), "OptionsLabel");
    m_switches = named(new QLabel(m_help), "SwitchesLabel");
    m_crontabLabel = named(new QLabel(m_help), "CrontabLabel");
    m_crontab = lineBox(m_help, "CrontabEdit");
    help->addWidget(m_syntax);
    help->addWidget(m_options);
    help->addWidget(m_switches);
    help->addWidget(m_crontabLabel);
    help->addWidget(m_crontab);
    layout->addWidget(m_help);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_close = named(new QPushButton(this), "CloseButton");
    buttons->addWidget(m_close);
    layout->addLayout(buttons);

    connect(m_select, &QPushButton::clicked, this, &BatchJobForm::SelectQueueButtonClick);
    connect(m_build, &QPushButton::clicked, this, &BatchJobForm::BuildCommandLineButtonClick);
    connect(m_copy, &QPushButton::clicked, this, &BatchJobForm::CopyCommandLineButtonClick);
    connect(m_close, &QPushButton::clicked, this, &BatchJobForm::reject);
    connect(m_runOnly, &QRadioButton::clicked, this, [this] { switchChosen(BatchSwitch::Run); });
    connect(m_runAndClose, &QRadioButton::clicked, this, [this] { switchChosen(BatchSwitch::RunAndClose); });
    connect(m_runAndShutdown, &QRadioButton::clicked, this, [this] { switchChosen(BatchSwitch::RunAndShutdown); });
}

void BatchJobForm::retranslate()
{
    m_step1->setText(text(QStringLiteral("1st step: Go to \"Options\" Menu and switch off \"Automatic run queue\""),
                          QStringLiteral("1. Schritt: Im Menü \"Optionen\" \"Warteschlange automatisch ausführen\" ausschalten")));
    m_step2->setText(text(QStringLiteral("2nd step: Build your queue and save it for your batchjob"),
                          QStringLiteral("2. Schritt: Warteschlange erstellen und für den Batchjob speichern")));
    m_step3->setText(text(QStringLiteral("3rd step: Select your saved queue"),
                          QStringLiteral("3. Schritt: Gespeicherte Warteschlange auswählen")));
    m_step4->setText(text(QStringLiteral("4th step: Build the command line for your batchjob "),
                          QStringLiteral("4. Schritt: Kommandozeile für den Batchjob erzeugen ")));
    m_select->setText(text(QStringLiteral("Select queue"), QStringLiteral("Warteschlange auswählen")));
    m_build->setText(text(QStringLiteral("Build comand line"), QStringLiteral("Kommandozeile erzeugen")));
    m_copy->setText(text(QStringLiteral("Copy comand line to clipboard"),
                         QStringLiteral("Kommandozeile in die Zwischenablage kopieren")));
    m_runOnly->setText(text(QStringLiteral("Run queue only"), QStringLiteral("Nur Warteschlange abarbeiten")));
    m_runAndClose->setText(text(QStringLiteral("Run queue and close program"),
                                QStringLiteral("Warteschlange abarbeiten und Programm beenden")));
    m_runAndShutdown->setText(text(QStringLiteral("Run queue and shutdown your PC"),
                                   QStringLiteral("Warteschlange abarbeiten und PC herunterfahren")));
    m_help->setTitle(text(QStringLiteral("Help -comand line parameters"), QStringLiteral("Hilfe - Kommandozeilenparameter")));
    m_syntax->setText(text(QStringLiteral("Syntax: velmora [queuefile]  [-options]"),
                           QStringLiteral("Syntax: velmora [Warteschlangendatei]  [-Optionen]")));
    m_options->setText(text(QStringLiteral("Options:"), QStringLiteral("Optionen:")));
    m_switches->setText(QStringLiteral("-r\t") + m_runOnly->text() + QStringLiteral("\n-rc\t") + m_runAndClose->text()
                        + QStringLiteral("\n-rs\t") + m_runAndShutdown->text());
    m_crontabLabel->setText(text(QStringLiteral("Crontab line (crontab -e), every night at 2:00:"),
                                 QStringLiteral("Crontab-Zeile (crontab -e), jede Nacht um 2:00 Uhr:")));
    m_close->setText(text(QStringLiteral("Close"), QStringLiteral("Schließen")));
}

void BatchJobForm::setBuilder(BatchJobBuilder *builder)
{
    m_builder = builder;
    resetControls();
}

void BatchJobForm::resetControls()
{
    m_runAndClose->setChecked(true);
    for (QWidget *control : {static_cast<QWidget *>(m_runOnly), static_cast<QWidget *>(m_runAndClose),
                             static_cast<QWidget *>(m_runAndShutdown), static_cast<QWidget *>(m_build),
                             static_cast<QWidget *>(m_copy)})
        control->setEnabled(false);
    m_commandLine->clear();
    m_queueFile->clear();
    showCrontabLine();
}

void BatchJobForm::showCrontabLine()
{
    m_crontab->setPlainText(m_builder ? m_builder->crontabLine() : QString());
}

void BatchJobForm::SelectQueueButtonClick()
{
    if (!m_builder)
        return;
    const QString folder = context().folders.appDataFolder + QStringLiteral("Saved-Queues/");
    QDir().mkpath(folder);
    const QString path = context().prompts.openFile(text(QStringLiteral("Select queue"), QStringLiteral("Warteschlange auswählen")),
                                                     folder, QStringLiteral("Queue (*.queue)"));
    if (path.isEmpty() || !m_builder->selectQueue(path))
        return;
    m_queueFile->setText(path);
    for (QWidget *control : {static_cast<QWidget *>(m_runOnly), static_cast<QWidget *>(m_runAndClose),
                             static_cast<QWidget *>(m_runAndShutdown), static_cast<QWidget *>(m_build)})
        control->setEnabled(true);
    showCrontabLine();
}

void BatchJobForm::switchChosen(BatchSwitch batchSwitch)
{
    if (!m_builder)
        return;
    m_builder->setSwitch(batchSwitch);
    showCrontabLine();
}

void BatchJobForm::BuildCommandLineButtonClick()
{
    if (!m_builder || !m_builder->hasQueue())
        return;
    m_commandLine->clear();
    m_commandLine->setPlainText(m_builder->commandLine());
    m_copy->setEnabled(true);
    showCrontabLine();
}

void BatchJobForm::CopyCommandLineButtonClick()
{
    m_commandLine->selectAll();
    m_commandLine->copy();
}

void BatchJobForm::reject()
{
    if (m_builder)
        m_builder->close();
    resetControls();
    ToolDialog::reject();
}

} // namespace Velmora
