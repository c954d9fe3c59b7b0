#include "AskOverwriteForm.h"

#include "OverwritePolicy.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace Velmora {

AskOverwriteForm::AskOverwriteForm(const AppContext &context, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("Overwrite"), QString::fromUtf8("Überschreiben"))
{
    setObjectName(QStringLiteral("AskOverwriteForm"));
    QVBoxLayout *layout = contentLayout();
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("MessageLabel"));
    m_path = new QLabel(this);
    m_path->setObjectName(QStringLiteral("FileNameLabel"));
    m_path->setWordWrap(true);
    m_path->setMinimumWidth(380);
    m_path->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_message);
    layout->addWidget(m_path);

    m_action = new QGroupBox(this);
    m_action->setObjectName(QStringLiteral("ActionGroupBox"));
    auto *actions = new QVBoxLayout(m_action);
    m_overwrite = new QRadioButton(m_action);
    m_overwrite->setObjectName(QStringLiteral("OverwriteRadioButton"));
    m_skip = new QRadioButton(m_action);
    m_skip->setObjectName(QStringLiteral("SkipRadioButton"));
    actions->addWidget(m_overwrite);
    actions->addWidget(m_skip);
    layout->addWidget(m_action);

    m_always = new QCheckBox(this);
    m_always->setObjectName(QStringLiteral("AllwaysCheckBox"));
    m_currentQueue = new QCheckBox(this);
    m_currentQueue->setObjectName(QStringLiteral("CurrentQueueCheckBox"));
    layout->addWidget(m_always);
    layout->addWidget(m_currentQueue);

    const OkAbortButtons buttons = addOkAbortButtons();
    m_ok = buttons.ok;
    m_abort = buttons.abort;

    connect(m_overwrite, &QRadioButton::toggled, this, &AskOverwriteForm::applyToPolicy);
    connect(m_skip, &QRadioButton::toggled, this, &AskOverwriteForm::applyToPolicy);
    connect(m_always, &QCheckBox::clicked, this, [this] { checkBoxClicked(m_always, m_currentQueue); });
    connect(m_currentQueue, &QCheckBox::clicked, this, [this] { checkBoxClicked(m_currentQueue, m_always); });
    retranslate();
}

void AskOverwriteForm::retranslate()
{
    m_message->setText(text(QStringLiteral("The target file allready exists."),
                            QStringLiteral("Die Zieldatei existiert bereits.")));
    m_action->setTitle(text(QStringLiteral("Action"), QStringLiteral("Aktion")));
    m_overwrite->setText(text(QStringLiteral("Overwrite"), QString::fromUtf8("Überschreiben")));
    m_skip->setText(text(QStringLiteral("Skip"), QString::fromUtf8("Überspringen")));
    m_always->setText(text(QStringLiteral("Allways use this action"), QStringLiteral("Diese Aktion immer verwenden")));
    m_currentQueue->setText(text(QStringLiteral("Apply to current queue only"),
                                 QStringLiteral("Nur auf die aktuelle Warteschlange anwenden")));
    m_ok->setText(QStringLiteral("OK"));
    m_abort->setText(text(QStringLiteral("Abort"), QStringLiteral("Abbrechen")));
}

QString AskOverwriteForm::wrappablePath(const QString &path)
{
    QString shown;
    shown.reserve(path.size() + path.size() / 8);
    for (QChar c : path) {
        shown += c;
        if (c == u'/' || c == u'\\')
            shown += u' ';
    }
    return shown;
}

void AskOverwriteForm::checkBoxClicked(QCheckBox *clicked, QCheckBox *other)
{
    // A click checks the box and clears the other one; clicking a checked box keeps it checked.
    clicked->setChecked(true);
    other->setChecked(false);
    applyToPolicy();
}

void AskOverwriteForm::applyToPolicy()
{
    if (m_policy)
        m_policy->applyQuestionState(m_overwrite->isChecked(), m_skip->isChecked(), m_always->isChecked(),
                                     m_currentQueue->isChecked());
}

void AskOverwriteForm::prepare(const QString &targetPath, OverwritePolicy &policy)
{
    m_policy = nullptr;
    m_path->setText(wrappablePath(targetPath));
    if (policy.action == OverwritePolicy::Action::Skip)
        m_skip->setChecked(true);
    else
        m_overwrite->setChecked(true);
    m_always->setChecked(false);
    m_currentQueue->setChecked(false);
    m_policy = &policy;
    applyToPolicy();
    (m_skip->isChecked() ? m_skip : m_overwrite)->setFocus();
}

bool AskOverwriteForm::askOverwrite(const QString &targetPath, OverwritePolicy &policy)
{
    prepare(targetPath, policy);
    const bool ok = exec() == QDialog::Accepted;
    m_policy = nullptr;
    return ok;
}

} // namespace Velmora
