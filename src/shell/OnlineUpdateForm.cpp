#include "OnlineUpdateForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Velmora {

OnlineUpdateForm::OnlineUpdateForm(const AppContext &context, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("Online update"), QStringLiteral("Online-Update"))
{
    setObjectName(QStringLiteral("OnlineUpdateForm"));
    m_versionCaption = new QLabel(this);
    m_versionCaption->setObjectName(QStringLiteral("InstalledVersionCaptionLabel"));
    m_version = new QLabel(this);
    m_version->setObjectName(QStringLiteral("InstalledVersionLabel"));
    QFont bold = m_version->font();
    bold.setBold(true);
    m_version->setFont(bold);
    m_version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *versionRow = new QHBoxLayout;
    versionRow->setSpacing(6);
    versionRow->addWidget(m_versionCaption);
    versionRow->addWidget(m_version, 1);
    contentLayout()->addLayout(versionRow);

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("MessageLabel"));
    m_message->setWordWrap(true);
    m_message->setMinimumWidth(420);
    contentLayout()->addSpacing(6);
    contentLayout()->addWidget(m_message);

    auto *row = new QHBoxLayout;
    row->addStretch();
    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("CloseButton"));
    m_close->setDefault(true);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(m_close);
    contentLayout()->addLayout(row);
    retranslate();
}

void OnlineUpdateForm::showEvent(QShowEvent *event)
{
    m_version->setText(QStringLiteral("Velmora ") + context().versionText);
    ToolDialog::showEvent(event);
}

void OnlineUpdateForm::retranslate()
{
    m_versionCaption->setText(text(QStringLiteral("Installed version:"), QStringLiteral("Installierte Version:")));
    m_version->setText(QStringLiteral("Velmora ") + context().versionText);
    m_message->setText(text(
        QStringLiteral("Updates come through the system's package manager: use it to install a newer version of Velmora."),
        QStringLiteral("Updates kommen über die Paketverwaltung des Systems: installieren Sie damit eine neuere Version von Velmora.")));
    m_close->setText(text(QStringLiteral("Close"), QStringLiteral("Schließen")));
}

} // namespace Velmora
