#include "EditFTPDataForm.h"

#include "app/AppContext.h"
#include "engine/EncryptionChoice.h"

#include "app/DialogHeader.h"
#include "app/UserPrompts.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>

namespace Velmora {

namespace {

QLineEdit *makeEdit(QWidget *parent, const char *name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMinimumWidth(260);
    return edit;
}

QPushButton *makeButton(QWidget *parent, const char *name)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

// A path edit with a "..." button beside it that picks the path; the row goes into the grid.
QWidget *pathRow(QWidget *parent, QLineEdit *edit, const char *buttonName, QPushButton *&button)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit, 1);
    button = makeButton(row, buttonName);
    button->setText(QStringLiteral("..."));
    button->setFixedWidth(32);
    layout->addWidget(button);
    return row;
}

bool isPortNumber(const QString &text)
{
    bool ok = false;
    const int port = text.trimmed().toInt(&ok);
    return ok && port >= 1 && port <= 65535;
}

} // namespace

EditFTPDataForm::EditFTPDataForm(const AppContext &context, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("FTP data"), QStringLiteral("FTP Daten"))
{
    setObjectName(QStringLiteral("EditFTPDataForm"));
    setModal(true);
    header()->setObjectName(QStringLiteral("InfoLabel"));
    buildControls();
    retranslate();
}

void EditFTPDataForm::buildControls()
{
    QVBoxLayout *content = contentLayout();
    m_topLabel = new QLabel(this);
    m_topLabel->setObjectName(QStringLiteral("TopLabel"));
    content->addWidget(m_topLabel);

    m_dataGroup = new QGroupBox(this);
    m_dataGroup->setObjectName(QStringLiteral("FTPDataGroupBox"));
    auto *data = new QGridLayout(m_dataGroup);
    auto addRow = [&](QGridLayout *grid, int row, QLabel *&label, QWidget *field) {
        label = new QLabel(grid->parentWidget());
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
    };
    m_name = makeEdit(m_dataGroup, "NameEdit");
    m_host = makeEdit(m_dataGroup, "HostEdit");
    m_user = makeEdit(m_dataGroup, "UserEdit");
    m_password = makeEdit(m_dataGroup, "PasswortEdit");
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setStyleSheet(QStringLiteral("lineedit-password-character: 8226")); // "•"
    m_port = makeEdit(m_dataGroup, "PortEdit");
    addRow(data, 0, m_nameLabel, m_name);
    addRow(data, 1, m_hostLabel, m_host);
    addRow(data, 2, m_userLabel, m_user);
    addRow(data, 3, m_passwordLabel, m_password);
    addRow(data, 4, m_portLabel, m_port);
    m_mode = new QComboBox(m_dataGroup);
    m_mode->setObjectName(QStringLiteral("FTPModusComboBox"));
    m_mode->addItem(QStringLiteral("FTP-Mode: Passive (empfohlen)"));
    m_mode->addItem(QStringLiteral("FTP-Mode: Active"));
    data->addWidget(m_mode, 5, 1);
    m_encryption = new QComboBox(m_dataGroup);
    m_encryption->setObjectName(QStringLiteral("EncryptionComboBox"));
    for (int i = 0; i < EncryptionChoice::All().size(); ++i)
        m_encryption->addItem(QString());
    addRow(data, 6, m_encryptionLabel, m_encryption);
    m_keyFile = makeEdit(m_dataGroup, "KeyFileEdit");
    addRow(data, 7, m_keyFileLabel, pathRow(m_dataGroup, m_keyFile, "KeyFileButton", m_keyFileButton));
    m_keyFileLabel->setBuddy(m_keyFile);
    content->addWidget(m_dataGroup);

    m_directoriesGroup = new QGroupBox(this);
    m_directoriesGroup->setObjectName(QStringLiteral("DirectoriesGroupBox"));
    auto *directories = new QGridLayout(m_directoriesGroup);
    m_localDir = makeEdit(m_directoriesGroup, "LocalDirEdit");
    addRow(directories, 0, m_localLabel, pathRow(m_directoriesGroup, m_localDir, "OpenButton", m_open));
    m_localLabel->setBuddy(m_localDir);
    m_serverDir = makeEdit(m_directoriesGroup, "ServerDirEdit");
    addRow(directories, 1, m_serverLabel, m_serverDir);
    content->addWidget(m_directoriesGroup);

    auto *buttons = new QHBoxLayout;
    m_import = makeButton(this, "ImportBitBtn");
    m_import->hide();
    buttons->addWidget(m_import);
    buttons->addStretch();
    m_ok = makeButton(this, "BitBtn1");
    m_ok->setDefault(true); // Enter in any field
    m_abort = makeButton(this, "BitBtn2");
    buttons->addWidget(m_ok);
    buttons->addWidget(m_abort);
    content->addLayout(buttons);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_ok, &QPushButton::clicked, this, &EditFTPDataForm::BitBtn1Click);
    connect(m_abort, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_open, &QPushButton::clicked, this, &EditFTPDataForm::OpenButtonClick);
    connect(m_import, &QPushButton::clicked, this, &EditFTPDataForm::ImportBitBtnClick);
    connect(m_keyFileButton, &QPushButton::clicked, this, &EditFTPDataForm::KeyFileButtonClick);
    connect(m_encryption, &QComboBox::currentIndexChanged, this, &EditFTPDataForm::EncryptionChanged);
    EncryptionChanged(m_encryption->currentIndex());
}

void EditFTPDataForm::retranslate()
{
    m_topLabel->setText(text(QStringLiteral("Please insert your FTP Data"), QStringLiteral("Bitte geben Sie Ihre FTP-Zugangsdaten ein")));
    m_dataGroup->setTitle(text(QStringLiteral("FTP Data"), QStringLiteral("FTP Daten")));
    m_nameLabel->setText(text(QStringLiteral("Internal name"), QStringLiteral("Interner Name")));
    m_hostLabel->setText(text(QStringLiteral("Host address (server)"), QStringLiteral("Host Adresse (Server)")));
    m_userLabel->setText(text(QStringLiteral("User name"), QStringLiteral("Benutzername")));
    m_passwordLabel->setText(text(QStringLiteral("Password"), QStringLiteral("Passwort")));
    m_portLabel->setText(text(QStringLiteral("Port"), QStringLiteral("Port")));
    m_encryptionLabel->setText(text(QStringLiteral("Encryption"), QStringLiteral("Verschlüsselung")));
    const QList<FtpEncryption> choices = EncryptionChoice::All();
    for (int i = 0; i < choices.size(); ++i)
        m_encryption->setItemText(i, EncryptionChoice::Text(choices[i], &context().language));
    m_keyFileLabel->setText(text(QStringLiteral("Key file (SFTP)"), QStringLiteral("Schlüsseldatei (SFTP)")));
    m_keyFile->setPlaceholderText(text(QStringLiteral("ssh-agent and ~/.ssh keys"), QStringLiteral("ssh-agent und Schlüssel in ~/.ssh")));
    m_directoriesGroup->setTitle(text(QStringLiteral("Directories"), QStringLiteral("Ordner")));
    m_localLabel->setText(text(QStringLiteral("Default local directory"), QStringLiteral("Lokales Standard Verzeichnis")));
    m_serverLabel->setText(text(QStringLiteral("Default server directory"), QStringLiteral("Server Standard Verzeichnis")));
    m_ok->setText(QStringLiteral("OK"));
    m_abort->setText(text(QStringLiteral("Abort"), QStringLiteral("Abbrechen")));
    m_import->setText(text(QStringLiteral("Import data from othe FTP client"), QStringLiteral("Daten von anderm FTP Client importieren")));
    if (!m_title.isEmpty())
        header()->setTitle(m_title);
}

void EditFTPDataForm::showEvent(QShowEvent *event)
{
    ToolDialog::showEvent(event);
    if (!m_title.isEmpty())
        header()->setTitle(m_title);
}

void EditFTPDataForm::focusName()
{
    m_name->setFocus();
}

void EditFTPDataForm::setTitle(const QString &title)
{
    m_title = title;
    header()->setTitle(title.isEmpty() ? headerTitle() : title);
}

void EditFTPDataForm::setConnection(const FTPConnection &site)
{
    m_name->setText(site.Name);
    m_host->setText(site.Host);
    m_user->setText(site.User);
    m_password->setText(site.Password);
    m_port->setText(site.Port);
    m_localDir->setText(site.LocalPath);
    m_serverDir->setText(site.ServerPath);
    setModeIndex(site.isPassive() ? 0 : 1);
    m_keyFile->setText(site.KeyFile);
    // The site's port stays as stored, whatever the protocol's default.
    m_shownEncryption = -1;
    m_encryption->setCurrentIndex(int(EncryptionChoice::All().indexOf(site.encryption())));
    EncryptionChanged(m_encryption->currentIndex());
}

FtpEncryption EditFTPDataForm::chosenEncryption() const
{
    return EncryptionChoice::All().value(m_encryption->currentIndex(), FtpEncryption::ExplicitRequired);
}

void EditFTPDataForm::EncryptionChanged(int index)
{
    const QList<FtpEncryption> choices = EncryptionChoice::All();
    const FtpEncryption now = choices.value(index, FtpEncryption::ExplicitRequired);
    if (m_shownEncryption >= 0) {
        const quint16 before = EncryptionChoice::DefaultPort(choices.value(m_shownEncryption, FtpEncryption::ExplicitRequired));
        const QString port = m_port->text().trimmed();
        if (port.isEmpty() || port == QString::number(before))
            m_port->setText(QString::number(EncryptionChoice::DefaultPort(now)));
    }
    m_shownEncryption = index;
    const bool sftp = now == FtpEncryption::Sftp;
    m_mode->setEnabled(!sftp);
    m_keyFileLabel->setEnabled(sftp);
    m_keyFile->setEnabled(sftp);
    m_keyFileButton->setEnabled(sftp);
}

void EditFTPDataForm::KeyFileButtonClick()
{
    const QString file = context().prompts.openFile(
        text(QStringLiteral("Please select the private key file"), QString::fromUtf8("Bitte wählen Sie die private Schlüsseldatei")),
        m_keyFile->text().isEmpty() ? QDir::homePath() + QStringLiteral("/.ssh") : QFileInfo(m_keyFile->text()).absolutePath(),
        QString());
    if (!file.isEmpty())
        m_keyFile->setText(file);
}

FTPConnection EditFTPDataForm::connection() const
{
    FTPConnection site;
    site.Name = m_name->text();
    site.Host = m_host->text();
    site.User = m_user->text();
    site.Password = m_password->text();
    site.Port = m_port->text();
    site.LocalPath = m_localDir->text();
    site.ServerPath = m_serverDir->text();
    site.Mode = m_mode->currentIndex() == 1 ? FTPConnection::Active : FTPConnection::Passive;
    site.Encryption = EncryptionChoice::Keyword(chosenEncryption());
    if (chosenEncryption() == FtpEncryption::Sftp)
        site.KeyFile = m_keyFile->text().trimmed();
    return site;
}

void EditFTPDataForm::setModeIndex(int index)
{
    m_mode->setCurrentIndex(index == 1 ? 1 : 0);
}

int EditFTPDataForm::modeIndex() const
{
    return m_mode->currentIndex();
}

void EditFTPDataForm::setImportButtonVisible(bool visible)
{
    m_import->setVisible(visible);
}

bool EditFTPDataForm::importButtonVisible() const
{
    return !m_import->isHidden();
}

void EditFTPDataForm::BitBtn1Click()
{
    UserPrompts &prompts = context().prompts;
    if (m_name->text().trimmed().isEmpty() || m_host->text().trimmed().isEmpty() || m_port->text().trimmed().isEmpty()) {
        prompts.information(text(QStringLiteral("Data not complete!"), QString::fromUtf8("Daten nicht vollständig!")));
        return;
    }
    if (!isPortNumber(m_port->text())) {
        prompts.information(text(QStringLiteral("The port must be a number from 1 to 65535."),
                                 QStringLiteral("Der Port muss eine Zahl von 1 bis 65535 sein.")));
        m_port->setFocus();
        return;
    }
    // "§" separates the fields of the site file; only the name may lose it quietly.
    for (QLineEdit *edit : {m_host, m_user, m_localDir, m_serverDir, m_keyFile}) {
        if (edit->text().contains(QChar(0xA7))) {
            prompts.information(text(QString::fromUtf8("The character \"§\" cannot be stored in a site. Please remove it."),
                                     QString::fromUtf8("Das Zeichen \"§\" kann nicht gespeichert werden. Bitte entfernen Sie es.")));
            edit->setFocus();
            return;
        }
    }
    accept();
}

void EditFTPDataForm::done(int result)
{
    if (m_localDir->text().trimmed().isEmpty())
        m_localDir->setText(QStringLiteral("\\"));
    if (m_serverDir->text().trimmed().isEmpty())
        m_serverDir->setText(QStringLiteral("/"));
    ToolDialog::done(result);
}

void EditFTPDataForm::OpenButtonClick()
{
    QString folder = context().prompts.chooseFolder(
        text(QStringLiteral("Please select a folder"), QString::fromUtf8("Bitte wählen Sie einen Ordner")), QString(), true);
    if (folder.isEmpty())
        return;
    if (!folder.endsWith(u'/'))
        folder += u'/';
    m_localDir->setText(folder);
}

void EditFTPDataForm::ImportBitBtnClick()
{
    const QPoint position = m_import->mapToGlobal(QPoint(0, m_import->height()));
    reject();
    Q_EMIT importRequested(position);
}

} // namespace Velmora
