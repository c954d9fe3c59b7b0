#pragma once

#include "UserPrompts.h"

#include <functional>

namespace Velmora {

class Language;
class ProtocolLog;

// A batch job is started by a scheduler with nobody at the screen, so while it is unattended
// no box may wait for a user. Every message and question then goes to the protocol and to the
// console (standard error in the program) instead, and takes its non-blocking answer: a
// question is answered No, which keeps whatever it asked to change or remove; a file or folder
// dialog is cancelled. Attended (the default), every prompt goes to the inner prompts.
class UnattendedPrompts : public UserPrompts {
public:
    using LineSink = std::function<void(const QString &line)>;

    UnattendedPrompts(UserPrompts &inner, ProtocolLog &protocol, Language &language, LineSink console);

    void setUnattended(bool unattended) { m_unattended = unattended; }
    bool isUnattended() const { return m_unattended; }

    void information(const QString &text) override;
    void error(const QString &text) override;
    bool confirm(const QString &text) override;
    QString openFile(const QString &title, const QString &startFolder, const QString &filter) override;
    QStringList openFiles(const QString &title, const QString &startFolder, const QString &filter) override;
    QString saveFile(const QString &title, const QString &startFolder, const QString &fileName,
                     const QString &defaultSuffix, const QString &filter) override;
    QString chooseFolder(const QString &title, const QString &startFolder, bool allowCreate) override;
    // During a batch job no certificate is trusted that the system or an earlier "Trust always"
    // does not trust: the job fails with the certificate's text in the protocol.
    CertificateAnswer askCertificate(const QString &title, const QString &text) override;
    // Likewise no host key is trusted that known_hosts does not hold, and no passphrase asked.
    CertificateAnswer askHostKey(const QString &title, const QString &text) override;
    std::optional<QString> askSecret(const QString &title, const QString &text) override;
    LockedKeyringAnswer askLockedKeyring(const QString &title, const QString &text) override;
    bool isAttended() const override { return !m_unattended && m_inner.isAttended(); }

private:
    // A protocol line, unless the protocol's newest line already says the same (the engine
    // writes its errors there itself before it shows them).
    void toProtocol(int kind, const QString &text);
    void dialogNotShown(const QString &title);
    // Writes the question and the refusal to the console and the protocol.
    void refuseTrust(const QString &title, const QString &text);

    UserPrompts &m_inner;
    ProtocolLog &m_protocol;
    Language &m_language;
    LineSink m_console;
    bool m_unattended = false;
};

} // namespace Velmora
