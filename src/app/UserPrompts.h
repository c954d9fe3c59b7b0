#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace Velmora {

// Every message box, question and file or folder dialog goes through this interface. The
// program shows Qt dialogs; tests use a scripted fake that records each text exactly.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // Whether a person sees the windows and answers them (false during a batch job).
    virtual bool isAttended() const { return true; }

    // Information box with OK.
    virtual void information(const QString &text) = 0;
    // Error box with OK.
    virtual void error(const QString &text) = 0;
    // Confirmation box with Yes and No; true for Yes.
    virtual bool confirm(const QString &text) = 0;
    // Confirmation box with Yes, No and Abort; Escape answers Abort. Without a box of its own a
    // prompt passes the question to confirm(), which never answers Abort.
    enum class Answer { Yes, No, Abort };
    virtual Answer askYesNoAbort(const QString &text) { return confirm(text) ? Answer::Yes : Answer::No; }
    // The certificate window: a server's certificate is not trusted (or changed since it was
    // trusted). Without a window of its own a prompt trusts nothing.
    enum class CertificateAnswer { TrustAlways, TrustThisTime, Cancel };
    virtual CertificateAnswer askCertificate(const QString &title, const QString &text)
    {
        (void)title;
        (void)text;
        return CertificateAnswer::Cancel;
    }
    // The host-key window: an SSH server shows a host key that is not in known_hosts. The same
    // three answers as for a certificate. Without a window of its own a prompt trusts nothing.
    virtual CertificateAnswer askHostKey(const QString &title, const QString &text)
    {
        (void)title;
        (void)text;
        return CertificateAnswer::Cancel;
    }
    // A site's password is kept in the desktop keyring, which is locked: try again once it is
    // unlocked, type the password for this connection, or do not connect. Without a window of
    // its own a prompt does not connect.
    enum class LockedKeyringAnswer { TryAgain, TypePassword, Cancel };
    virtual LockedKeyringAnswer askLockedKeyring(const QString &title, const QString &text)
    {
        (void)title;
        (void)text;
        return LockedKeyringAnswer::Cancel;
    }
    // A passphrase (or other secret) entered hidden; std::nullopt when the user cancels. Without
    // a window of its own a prompt gives none.
    virtual std::optional<QString> askSecret(const QString &title, const QString &text)
    {
        (void)title;
        (void)text;
        return std::nullopt;
    }
    // File dialogs; an empty result means the user cancelled.
    virtual QString openFile(const QString &title, const QString &startFolder, const QString &filter) = 0;
    // File dialog with several files allowed, in the order chosen; an empty list means the user
    // cancelled. Without a dialog of its own a prompt offers openFile()'s single file.
    virtual QStringList openFiles(const QString &title, const QString &startFolder, const QString &filter)
    {
        const QString file = openFile(title, startFolder, filter);
        return file.isEmpty() ? QStringList() : QStringList{file};
    }
    virtual QString saveFile(const QString &title, const QString &startFolder, const QString &fileName,
                             const QString &defaultSuffix, const QString &filter) = 0;
    // Folder picker: an absolute folder ending with "/" or nothing.
    virtual QString chooseFolder(const QString &title, const QString &startFolder, bool allowCreate) = 0;
};

} // namespace Velmora
