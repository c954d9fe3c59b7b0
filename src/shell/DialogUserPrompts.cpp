#include "DialogUserPrompts.h"

#include "common/Language.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace Velmora {

DialogUserPrompts::DialogUserPrompts(Language &language, std::function<QWidget *()> parent,
                                     std::function<QString()> caption)
    : m_language(language)
    , m_parent(std::move(parent))
    , m_caption(std::move(caption))
{
}

void DialogUserPrompts::information(const QString &text)
{
    QMessageBox::information(m_parent(), m_caption(), text);
}

void DialogUserPrompts::error(const QString &text)
{
    QMessageBox::critical(m_parent(), m_caption(), text);
}

bool DialogUserPrompts::confirm(const QString &text)
{
    QMessageBox box(QMessageBox::Question, m_caption(), text, QMessageBox::NoButton, m_parent());
    QPushButton *yes = box.addButton(m_language.text(QStringLiteral("Yes"), QStringLiteral("Ja")), QMessageBox::YesRole);
    box.addButton(m_language.text(QStringLiteral("No"), QStringLiteral("Nein")), QMessageBox::NoRole);
    box.exec();
    return box.clickedButton() == yes;
}

UserPrompts::Answer DialogUserPrompts::askYesNoAbort(const QString &text)
{
    QMessageBox box(QMessageBox::Question, m_caption(), text, QMessageBox::NoButton, m_parent());
    QPushButton *yes = box.addButton(m_language.text(QStringLiteral("Yes"), QStringLiteral("Ja")), QMessageBox::YesRole);
    QPushButton *no = box.addButton(m_language.text(QStringLiteral("No"), QStringLiteral("Nein")), QMessageBox::NoRole);
    QPushButton *abort = box.addButton(m_language.text(QStringLiteral("Abort"), QStringLiteral("Abbrechen")),
                                       QMessageBox::RejectRole);
    box.setEscapeButton(abort);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    return box.clickedButton() == no ? Answer::No : Answer::Abort;
}

UserPrompts::CertificateAnswer DialogUserPrompts::askCertificate(const QString &title, const QString &text)
{
    const bool changed = text.contains(QStringLiteral("CHANGED")) || text.contains(QStringLiteral("GEÄNDERT"));
    return askTrust(changed ? QMessageBox::Critical : QMessageBox::Warning, QStringLiteral("CertificateWindow"), title, text);
}

UserPrompts::CertificateAnswer DialogUserPrompts::askHostKey(const QString &title, const QString &text)
{
    return askTrust(QMessageBox::Warning, QStringLiteral("HostKeyWindow"), title, text);
}

UserPrompts::CertificateAnswer DialogUserPrompts::askTrust(QMessageBox::Icon icon, const QString &objectName,
                                                           const QString &title, const QString &text)
{
    const int answer = askChoice(icon, objectName, title, text,
                                 {m_language.text(QStringLiteral("Trust always"), QStringLiteral("Immer vertrauen")),
                                  m_language.text(QStringLiteral("Trust this time"), QStringLiteral("Diesmal vertrauen"))},
                                 ChoiceDefault::Cancel);
    return answer == 0 ? CertificateAnswer::TrustAlways : answer == 1 ? CertificateAnswer::TrustThisTime : CertificateAnswer::Cancel;
}

UserPrompts::LockedKeyringAnswer DialogUserPrompts::askLockedKeyring(const QString &title, const QString &text)
{
    const int answer = askChoice(QMessageBox::Warning, QStringLiteral("LockedKeyringWindow"), title, text,
                                 {m_language.text(QStringLiteral("Try again"), QStringLiteral("Erneut versuchen")),
                                  m_language.text(QStringLiteral("Enter password..."), QStringLiteral("Passwort eingeben..."))},
                                 ChoiceDefault::First);
    return answer == 0 ? LockedKeyringAnswer::TryAgain : answer == 1 ? LockedKeyringAnswer::TypePassword : LockedKeyringAnswer::Cancel;
}

int DialogUserPrompts::askChoice(QMessageBox::Icon icon, const QString &objectName, const QString &title, const QString &text,
                                 const std::array<QString, 2> &choices, ChoiceDefault defaultButton)
{
    QMessageBox box(icon, title, text, QMessageBox::NoButton, m_parent());
    box.setObjectName(objectName);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPushButton *first = box.addButton(choices[0], QMessageBox::AcceptRole);
    QPushButton *second = box.addButton(choices[1], QMessageBox::YesRole);
    QPushButton *cancel = box.addButton(m_language.text(QStringLiteral("Cancel"), QStringLiteral("Abbrechen")),
                                        QMessageBox::RejectRole);
    box.setDefaultButton(defaultButton == ChoiceDefault::First ? first : cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == first)
        return 0;
    return box.clickedButton() == second ? 1 : 2;
}

std::optional<QString> DialogUserPrompts::askSecret(const QString &title, const QString &text)
{
    QInputDialog dialog(m_parent());
    dialog.setObjectName(QStringLiteral("SecretWindow"));
    dialog.setWindowTitle(title);
    dialog.setLabelText(text);
    dialog.setTextEchoMode(QLineEdit::Password);
    dialog.setOkButtonText(m_language.text(QStringLiteral("OK"), QStringLiteral("OK")));
    dialog.setCancelButtonText(m_language.text(QStringLiteral("Cancel"), QStringLiteral("Abbrechen")));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString DialogUserPrompts::openFile(const QString &title, const QString &startFolder, const QString &filter)
{
    return QFileDialog::getOpenFileName(m_parent(), title, startFolder, filter);
}

QStringList DialogUserPrompts::openFiles(const QString &title, const QString &startFolder, const QString &filter)
{
    return QFileDialog::getOpenFileNames(m_parent(), title, startFolder, filter);
}

QString DialogUserPrompts::saveFile(const QString &title, const QString &startFolder, const QString &fileName,
                                    const QString &defaultSuffix, const QString &filter)
{
    QFileDialog dialog(m_parent(), title, startFolder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString DialogUserPrompts::chooseFolder(const QString &title, const QString &startFolder, bool allowCreate)
{
    QFileDialog::Options options = QFileDialog::ShowDirsOnly;
    if (!allowCreate)
        options |= QFileDialog::ReadOnly;
    QString folder = QFileDialog::getExistingDirectory(m_parent(), title, startFolder, options);
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

} // namespace Velmora
