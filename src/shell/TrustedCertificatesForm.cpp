#include "TrustedCertificatesForm.h"

#include "app/Named.h"
#include "app/UserPrompts.h"
#include "engine/CertificateTrustStore.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace Velmora {

namespace {

// The long fingerprint last, so the short columns stay in view.
enum Column { ServerColumn, SubjectColumn, ValidUntilColumn, FingerprintColumn, ColumnCount };

// The row's site, for removing it.
constexpr int HostRole = Qt::UserRole + 1;
constexpr int PortRole = Qt::UserRole + 2;

} // namespace

TrustedCertificatesForm::TrustedCertificatesForm(const AppContext &context, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("Trusted certificates"), QStringLiteral("Vertrauenswürdige Zertifikate"))
{
    setObjectName(QStringLiteral("TrustedCertificatesForm"));
    m_intro = named(new QLabel(this), "IntroLabel");
    m_intro->setWordWrap(true);
    contentLayout()->addWidget(m_intro);

    m_model = new QStandardItemModel(0, ColumnCount, this);
    m_grid = named(new QTableView(this), "TrustedCertificatesGrid");
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setMinimumSize(1160, 200);
    contentLayout()->addWidget(m_grid);

    m_unreadable = named(new QLabel(this), "UnreadableLinesLabel");
    m_unreadable->setWordWrap(true);
    m_unreadable->setStyleSheet(QStringLiteral("color: #a00000;"));
    m_unreadable->setTextFormat(Qt::PlainText);
    contentLayout()->addWidget(m_unreadable);
    m_hostKeys = named(new QLabel(this), "HostKeysLabel");
    m_hostKeys->setWordWrap(true);
    m_hostKeys->setTextInteractionFlags(Qt::TextSelectableByMouse);
    contentLayout()->addWidget(m_hostKeys);

    auto *buttons = new QHBoxLayout;
    m_remove = named(new QPushButton(this), "RemoveButton");
    m_close = named(new QPushButton(this), "CloseButton");
    m_close->setDefault(true);
    buttons->addWidget(m_remove);
    buttons->addStretch();
    buttons->addWidget(m_close);
    contentLayout()->addLayout(buttons);

    connect(m_remove, &QPushButton::clicked, this, &TrustedCertificatesForm::RemoveButtonClick);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TrustedCertificatesForm::updateButtons);
    retranslate();
}

QString TrustedCertificatesForm::storeFolder() const
{
    return context().folders.appDataFolder;
}

void TrustedCertificatesForm::showEvent(QShowEvent *event)
{
    reload();
    ToolDialog::showEvent(event);
}

void TrustedCertificatesForm::reload()
{
    const CertificateTrustStore store(storeFolder());
    const TrustedCertificateList list = store.list();
    m_model->removeRows(0, m_model->rowCount());
    for (const TrustedCertificate &entry : list.entries) {
        QList<QStandardItem *> row;
        row << new QStandardItem(entry.site());
        row << new QStandardItem(entry.subject.isEmpty() ? text(QStringLiteral("(not recorded)"), QStringLiteral("(nicht gespeichert)"))
                                                         : entry.subject);
        row << new QStandardItem(entry.validUntil.isValid()
                                     ? entry.validUntil.toUTC().toString(QStringLiteral("yyyy-MM-dd hh:mm")) + QStringLiteral(" UTC")
                                     : QStringLiteral("-"));
        row << new QStandardItem(entry.fingerprint);
        row.first()->setData(entry.host, HostRole);
        row.first()->setData(int(entry.port), PortRole);
        m_model->appendRow(row);
    }
    m_grid->resizeColumnsToContents();
    QStringList lines;
    const QString file = QDir::toNativeSeparators(store.filePath());
    for (const auto &line : list.unreadable) {
        lines << text(QStringLiteral("Line %1 of %2 is no entry and is kept as it is: %3"),
                      QStringLiteral("Zeile %1 von %2 ist kein Eintrag und bleibt unverändert: %3"))
                     .arg(QString::number(line.first), file, line.second);
    }
    m_unreadable->setText(lines.join(u'\n'));
    m_unreadable->setVisible(!lines.isEmpty());
    updateButtons();
}

void TrustedCertificatesForm::updateButtons()
{
    m_remove->setEnabled(m_grid->selectionModel()->hasSelection());
}

void TrustedCertificatesForm::RemoveButtonClick()
{
    const QModelIndexList rows = m_grid->selectionModel()->selectedRows(ServerColumn);
    if (rows.isEmpty())
        return;
    const QString host = rows.first().data(HostRole).toString();
    const auto port = quint16(rows.first().data(PortRole).toInt());
    const QString site = rows.first().data().toString();
    if (!context().prompts.confirm(text(QStringLiteral("Trust the certificate of %1 no longer? The next connect to it asks again."),
                                        QStringLiteral("Dem Zertifikat von %1 nicht mehr vertrauen? Beim nächsten Verbinden "
                                                       "wird wieder gefragt."))
                                       .arg(site))) {
        return;
    }
    CertificateTrustStore store(storeFolder());
    if (!store.remove(host, port)) {
        context().prompts.error(text(QStringLiteral("The list of trusted certificates could not be saved: %1"),
                                     QStringLiteral("Die Liste der vertrauenswürdigen Zertifikate konnte nicht gespeichert "
                                                    "werden: %1"))
                                    .arg(store.errorText()));
    }
    reload();
}

void TrustedCertificatesForm::retranslate()
{
    m_intro->setText(text(QStringLiteral("The certificates you chose \"Trust always\" for. Remove one to be asked again at the "
                                         "next connect to its server."),
                          QStringLiteral("Die Zertifikate, für die Sie \"Immer vertrauen\" gewählt haben. Entfernen Sie eines, "
                                         "um beim nächsten Verbinden mit seinem Server wieder gefragt zu werden.")));
    m_model->setHorizontalHeaderLabels({text(QStringLiteral("Server"), QStringLiteral("Server")),
                                        text(QStringLiteral("Subject"), QStringLiteral("Inhaber")),
                                        text(QStringLiteral("Valid until"), QStringLiteral("Gültig bis")),
                                        text(QStringLiteral("Fingerprint (SHA-256)"), QStringLiteral("Fingerabdruck (SHA-256)"))});
    m_hostKeys->setText(text(QStringLiteral("Host keys of SFTP servers are kept in ~/.ssh/known_hosts, as ssh keeps them. "
                                            "Remove one with: ssh-keygen -R \"[host]:port\" (only the host name for port 22)."),
                             QStringLiteral("Hostschlüssel von SFTP-Servern stehen wie bei ssh in ~/.ssh/known_hosts. Entfernen "
                                            "Sie einen mit: ssh-keygen -R \"[Host]:Port\" (bei Port 22 nur der Hostname).")));
    m_remove->setText(text(QStringLiteral("Remove"), QStringLiteral("Entfernen")));
    m_close->setText(text(QStringLiteral("Close"), QStringLiteral("Schließen")));
    if (isVisible())
        reload();
}

} // namespace Velmora
