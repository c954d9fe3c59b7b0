#include "RenameForm.h"

#include "app/DialogHeader.h"
#include "app/Named.h"
#include "app/UserPrompts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Velmora {

RenameForm::RenameForm(const AppContext &context, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("Rename"), QStringLiteral("Umbenennen"))
{
    setObjectName(QStringLiteral("RenameForm"));
    QVBoxLayout *layout = contentLayout();
    header()->setObjectName(QStringLiteral("TopLabel"));
    m_info = named(new QLabel(this), "InfoLabel");
    m_name = named(new QLineEdit(this), "NameEdit");
    m_name->setMinimumWidth(360);
    layout->addWidget(m_info);
    layout->addWidget(m_name);
    layout->addSpacing(10);
    const OkAbortButtons buttons = addOkAbortButtons();
    m_ok = named(buttons.ok, "BitBtn1");
    m_abort = named(buttons.abort, "BitBtn2");
    // The dialog is laid out once for the longest texts it shows and keeps that size.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    retranslate();
}

void RenameForm::retranslate()
{
    m_ok->setText(text(QStringLiteral("OK"), QStringLiteral("OK")));
    m_abort->setText(text(QStringLiteral("Abort"), QStringLiteral("Abbrechen")));
}

void RenameForm::prepare(const Request &request)
{
    m_title = request.title;
    header()->setTitle(request.title);
    m_info->setText(request.prompt.isEmpty() ? text(QStringLiteral("New name:"), QStringLiteral("Neuer Name:"))
                                             : request.prompt);
    m_name->setText(request.initialText);
    m_name->selectAll();
}

std::optional<QString> RenameForm::askName(const Request &request)
{
    prepare(request);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return m_name->text();
}

void RenameForm::accept()
{
    if (m_name->text().trimmed().isEmpty()) {
        context().prompts.information(text(QStringLiteral("Insert a name!"),
                                           QStringLiteral("Bitte geben Sie zuerst einen Namen ein!")));
        m_name->setFocus();
        return;
    }
    ToolDialog::accept();
}

void RenameForm::showEvent(QShowEvent *event)
{
    ToolDialog::showEvent(event);
    // The header shows the caller's title, not the dialog's own.
    if (!m_title.isEmpty())
        header()->setTitle(m_title);
    m_name->setFocus();
}

} // namespace Velmora
