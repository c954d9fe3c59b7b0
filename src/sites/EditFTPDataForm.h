#pragma once

#include "FTPConnection.h"

#include "app/ToolDialog.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Velmora {

// The modal dialog in which one site is entered or changed. The caller fills the eight fields
// and a title, shows it and reads the fields back when it closes with OK. Name, host and port
// must not be blank; the two folder fields are never left empty.
class EditFTPDataForm : public ToolDialog {
    Q_OBJECT
public:
    EditFTPDataForm(const AppContext &context, QWidget *parent);

    void setConnection(const FTPConnection &site);
    // The values as typed; Mode "Active" for the second mode choice, else "Passive"; the
    // encryption as chosen; the key file only for an SFTP site.
    FTPConnection connection() const;
    // Shown in the header instead of "FTP data".
    void setTitle(const QString &title);
    QString title() const { return m_title; }
    // 0: passive, 1: active.
    void setModeIndex(int index);
    int modeIndex() const;
    // The button "Import data from othe FTP client" (only for the automatic New of an empty list).
    void setImportButtonVisible(bool visible);
    bool importButtonVisible() const;
    // The Name field takes the keyboard focus.
    void focusName();

    void done(int result) override;

Q_SIGNALS:
    // The import button was pressed: the site manager opens its import menu at globalPosition.
    void importRequested(const QPoint &globalPosition);

protected:
    void showEvent(QShowEvent *event) override;
    void retranslate() override;

private:
    void buildControls();
    void BitBtn1Click();
    void OpenButtonClick();
    void ImportBitBtnClick();
    void KeyFileButtonClick();
    // The protocol choice changed: an SFTP site has a key file and no FTP mode, and a port left
    // at the other protocol's default follows to the new one's.
    void EncryptionChanged(int index);
    FtpEncryption chosenEncryption() const;

    QString m_title;
    QLabel *m_topLabel = nullptr;
    QGroupBox *m_dataGroup = nullptr;
    QGroupBox *m_directoriesGroup = nullptr;
    QLabel *m_nameLabel = nullptr, *m_hostLabel = nullptr, *m_userLabel = nullptr, *m_passwordLabel = nullptr,
           *m_portLabel = nullptr, *m_localLabel = nullptr, *m_serverLabel = nullptr;
    QLineEdit *m_name = nullptr, *m_host = nullptr, *m_user = nullptr, *m_password = nullptr, *m_port = nullptr,
              *m_localDir = nullptr, *m_serverDir = nullptr;
    QComboBox *m_mode = nullptr;
    QLabel *m_encryptionLabel = nullptr;
    QComboBox *m_encryption = nullptr; // the choices of EncryptionChoice::All(), in that order
    QLabel *m_keyFileLabel = nullptr;
    QLineEdit *m_keyFile = nullptr;
    QPushButton *m_keyFileButton = nullptr;
    int m_shownEncryption = -1;
    QPushButton *m_open = nullptr, *m_ok = nullptr, *m_abort = nullptr, *m_import = nullptr;
};

} // namespace Velmora
