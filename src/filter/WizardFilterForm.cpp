#include "WizardFilterForm.h"

#include "NoWizardFilterFile.h"

#include "app/ProtocolLog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace Velmora {

WizardFilterForm::WizardFilterForm(const AppContext &context, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("Transfer mode"), QString::fromUtf8("Übertragungsmodus"))
{
    setObjectName(QStringLiteral("WizardFilterForm"));
    QVBoxLayout *layout = contentLayout();
    m_normal = new QRadioButton(this);
    m_normal->setObjectName(QStringLiteral("NormalRadioButton"));
    m_filtered = new QRadioButton(this);
    m_filtered->setObjectName(QStringLiteral("FilteredRadioButton"));
    layout->addWidget(m_normal);
    layout->addWidget(m_filtered);
    layout->addSpacing(8);
    m_dontShow = new QCheckBox(this);
    m_dontShow->setObjectName(QStringLiteral("DontShowCheckBox"));
    layout->addWidget(m_dontShow);

    const OkAbortButtons buttons = addOkAbortButtons();
    m_ok = buttons.ok;
    m_abort = buttons.abort;

    connect(m_filtered, &QRadioButton::toggled, this, &WizardFilterForm::modeChosen);
    retranslate();
}

void WizardFilterForm::retranslate()
{
    m_normal->setText(text(QStringLiteral("Normal transfer"), QString::fromUtf8("Normale Übertragung")));
    m_filtered->setText(text(QStringLiteral("Filtered transfer (by Filedate, Filenames, Extensions etc.)"),
                             QString::fromUtf8("Gefilterte Übertragung (nach Dateidatum, Dateinamen, Endungen usw.)")));
    m_dontShow->setText(text(QStringLiteral("Don't show this message again"),
                             QStringLiteral("Diese Meldung nicht mehr anzeigen")));
    m_ok->setText(QStringLiteral("OK"));
    m_abort->setText(text(QStringLiteral("Abort"), QStringLiteral("Abbrechen")));
}

void WizardFilterForm::setFilterSwitch(std::function<bool()> isOn, std::function<void(bool)> switchTo)
{
    m_isOn = std::move(isOn);
    m_switchTo = std::move(switchTo);
}

void WizardFilterForm::prepare()
{
    m_preparing = true;
    const bool on = m_isOn && m_isOn();
    (on ? m_filtered : m_normal)->setChecked(true);
    m_dontShow->setChecked(false);
    m_preparing = false;
    m_ok->setFocus();
}

void WizardFilterForm::modeChosen()
{
    if (m_preparing || !m_switchTo)
        return;
    const bool filtered = m_filtered->isChecked();
    if (!m_isOn || m_isOn() != filtered)
        m_switchTo(filtered);
}

bool WizardFilterForm::askTransferMode()
{
    prepare();
    return exec() == QDialog::Accepted;
}

void WizardFilterForm::done(int result)
{
    if (m_dontShow->isChecked() && !NoWizardFilterFile(context().folders.appDataFolder).write()) {
        context().protocol.AddProtocolMessage(ProtocolEntry::Error, QStringLiteral("Could not write ")
                                                                        + NoWizardFilterFile(context().folders.appDataFolder).path());
    }
    ToolDialog::done(result);
}

} // namespace Velmora
