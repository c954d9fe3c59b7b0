#pragma once

#include "app/UserPrompts.h"

#include <QMessageBox>

#include <array>

#include <functional>

class QWidget;

namespace Velmora {

class Language;

// Shows real Qt message boxes and file dialogs, captioned with the main window's caption.
class DialogUserPrompts : public UserPrompts {
public:
    DialogUserPrompts(Language &language, std::function<QWidget *()> parent, std::function<QString()> caption);

    void information(const QString &text) override;
    void error(const QString &text) override;
    bool confirm(const QString &text) override;
    Answer askYesNoAbort(const QString &text) override;
    QString openFile(const QString &title, const QString &startFolder, const QString &filter) override;
    QStringList openFiles(const QString &title, const QString &startFolder, const QString &filter) override;
    QString saveFile(const QString &title, const QString &startFolder, const QString &fileName,
                     const QString &defaultSuffix, const QString &filter) override;
    QString chooseFolder(const QString &title, const QString &startFolder, bool allowCreate) override;
    // The certificate window: a warning box (critical for a changed certificate) with "Trust
    // always", "Trust this time" and "Cancel"; Escape cancels.
    CertificateAnswer askCertificate(const QString &title, const QString &text) override;
    // The host-key window: a warning box with the same three buttons; Escape cancels.
    CertificateAnswer askHostKey(const QString &title, const QString &text) override;
    // A line edit that shows no characters, with OK and Cancel.
    std::optional<QString> askSecret(const QString &title, const QString &text) override;
    // "LockedKeyringWindow": "Try again", "Enter password..." and "Cancel" (Escape).
    LockedKeyringAnswer askLockedKeyring(const QString &title, const QString &text) override;

private:
    CertificateAnswer askTrust(QMessageBox::Icon icon, const QString &objectName, const QString &title, const QString &text);
    enum class ChoiceDefault { First, Cancel };
    // A message box with two choices and "Cancel" (also Escape): 0 or 1 for a choice, 2 for Cancel.
    int askChoice(QMessageBox::Icon icon, const QString &objectName, const QString &title, const QString &text,
                  const std::array<QString, 2> &choices, ChoiceDefault defaultButton);

    Language &m_language;
    std::function<QWidget *()> m_parent;
    std::function<QString()> m_caption;
};

} // namespace Velmora
