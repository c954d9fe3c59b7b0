#pragma once

#include "UserPrompts.h"

#include <functional>

namespace Velmora {

// Passes every prompt on and also writes the messages and questions as lines to a console
// (standard error in the program), so that a batch job started by a scheduler leaves its
// messages where the scheduler collects them. File and folder dialogs, the trust windows and
// the secret and keyring questions are passed on only.
class ConsoleEchoPrompts : public UserPrompts {
public:
    using LineSink = std::function<void(const QString &line)>;

    ConsoleEchoPrompts(UserPrompts &inner, LineSink sink);

    // Writes the line and a line break to standard error at once.
    static void writeToStandardError(const QString &line);

    void information(const QString &text) override;
    void error(const QString &text) override;
    bool confirm(const QString &text) override;
    Answer askYesNoAbort(const QString &text) override;
    bool isAttended() const override { return m_inner.isAttended(); }
    CertificateAnswer askCertificate(const QString &title, const QString &text) override
    {
        return m_inner.askCertificate(title, text);
    }
    CertificateAnswer askHostKey(const QString &title, const QString &text) override
    {
        return m_inner.askHostKey(title, text);
    }
    std::optional<QString> askSecret(const QString &title, const QString &text) override
    {
        return m_inner.askSecret(title, text);
    }
    LockedKeyringAnswer askLockedKeyring(const QString &title, const QString &text) override
    {
        return m_inner.askLockedKeyring(title, text);
    }
    QString openFile(const QString &title, const QString &startFolder, const QString &filter) override;
    QStringList openFiles(const QString &title, const QString &startFolder, const QString &filter) override;
    QString saveFile(const QString &title, const QString &startFolder, const QString &fileName,
                     const QString &defaultSuffix, const QString &filter) override;
    QString chooseFolder(const QString &title, const QString &startFolder, bool allowCreate) override;

private:
    UserPrompts &m_inner;
    LineSink m_sink;
};

} // namespace Velmora
