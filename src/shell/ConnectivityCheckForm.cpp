#include "ConnectivityCheckForm.h"

#include "app/WindowFront.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Velmora {

ConnectivityCheckForm::ConnectivityCheckForm(const AppContext &context, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("Internet connection"), QStringLiteral("Internetverbindung"))
{
    setObjectName(QStringLiteral("ConnectivityCheckForm"));
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("MessageLabel"));
    m_message->setWordWrap(true);
    m_message->setMinimumWidth(400);
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

QString ConnectivityCheckForm::messageFor(ConnectivityProbe::State state) const
{
    switch (state) {
    case ConnectivityProbe::State::Online:
        return text(QStringLiteral("This computer is connected to the internet."),
                    QStringLiteral("Dieser Computer ist mit dem Internet verbunden."));
    case ConnectivityProbe::State::Offline:
        return text(QStringLiteral("No internet connection found. Please check the network connection of this computer."),
                    QStringLiteral("Keine Internetverbindung gefunden. Bitte prüfen Sie die Netzwerkverbindung dieses Computers."));
    case ConnectivityProbe::State::Unknown:
        break;
    }
    return text(QStringLiteral("The system cannot tell whether this computer is connected to the internet."),
                QStringLiteral("Das System kann nicht feststellen, ob dieser Computer mit dem Internet verbunden ist."));
}

void ConnectivityCheckForm::showState(ConnectivityProbe::State state)
{
    m_state = state;
    m_message->setText(messageFor(state));
    show();
    WindowFront::raise(*this);
}

void ConnectivityCheckForm::retranslate()
{
    m_message->setText(messageFor(m_state));
    m_close->setText(text(QStringLiteral("Close"), QStringLiteral("Schließen")));
}

} // namespace Velmora
