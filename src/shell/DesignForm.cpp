#include "DesignForm.h"

#include "app/DesignState.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace Velmora {

DesignForm::DesignForm(const AppContext &context, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("Design"), QStringLiteral("Design"))
{
    setObjectName(QStringLiteral("DesignForm"));
    m_group = new QGroupBox(this);
    m_group->setObjectName(QStringLiteral("DesignGroupBox"));
    auto *radios = new QVBoxLayout(m_group);
    for (const QString &name : DesignState::names()) {
        auto *radio = new QRadioButton(m_group);
        radio->setObjectName(name + QStringLiteral("RadioButton"));
        radios->addWidget(radio);
        m_radios.append(radio);
    }
    contentLayout()->addWidget(m_group);
    const OkAbortButtons buttons = addOkAbortButtons();
    m_ok = buttons.ok;
    m_abort = buttons.abort;
    setMinimumWidth(300);
    retranslate();
}

QString DesignForm::captionOf(const QString &designName) const
{
    if (designName == QStringLiteral("Office2003Blue"))
        return text(QStringLiteral("Office2003 Blue"), QStringLiteral("Office2003 Blau"));
    if (designName == QStringLiteral("Office2003Silver"))
        return text(QStringLiteral("Office2003 Silver"), QStringLiteral("Office2003 Silber"));
    if (designName == QStringLiteral("Office2003Olive"))
        return QStringLiteral("Office2003 Olive");
    return designName; // "Aluminium" and "Gold" read the same in both languages
}

QRadioButton *DesignForm::radioButtonOf(const QString &designName) const
{
    const qsizetype index = DesignState::names().indexOf(designName);
    return index < 0 ? nullptr : m_radios.at(index);
}

void DesignForm::retranslate()
{
    m_group->setTitle(QStringLiteral("Design"));
    const QStringList names = DesignState::names();
    for (qsizetype i = 0; i < names.size(); ++i)
        m_radios.at(i)->setText(captionOf(names.at(i)));
    m_ok->setText(QStringLiteral("OK"));
    m_abort->setText(text(QStringLiteral("Abort"), QStringLiteral("Abbrechen")));
}

void DesignForm::showEvent(QShowEvent *event)
{
    if (QRadioButton *current = radioButtonOf(context().design.name()))
        current->setChecked(true);
    ToolDialog::showEvent(event);
}

void DesignForm::accept()
{
    const QStringList names = DesignState::names();
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (m_radios.at(i)->isChecked())
            context().design.setName(names.at(i));
    }
    ToolDialog::accept();
}

} // namespace Velmora
