#include "UnattendedPrompts.h"

#include "ProtocolLog.h"
#include "common/Language.h"

namespace Velmora {

UnattendedPrompts::UnattendedPrompts(UserPrompts &inner, ProtocolLog &protocol, Language &language, LineSink console)
    : m_inner(inner)
    , m_protocol(protocol)
    , m_language(language)
    , m_console(std::move(console))
{
}

void UnattendedPrompts::toProtocol(int kind, const QString &text)
{
    const QList<ProtocolEntry> &entries = m_protocol.entries();
    if (!entries.isEmpty() && entries.last().kind == kind && entries.last().text == text)
        return;
    m_protocol.AddProtocolMessage(kind, text);
}

void UnattendedPrompts::information(const QString &text)
{
    if (!m_unattended) {
        m_inner.information(text);
        return;
    }
    m_console(QStringLiteral("velmora: ") + text);
    toProtocol(ProtocolEntry::Status, text);
}

void UnattendedPrompts::error(const QString &text)
{
    if (!m_unattended) {
        m_inner.error(text);
        return;
    }
    m_console(QStringLiteral("velmora: error: ") + text);
    toProtocol(ProtocolEntry::Error, text);
}

bool UnattendedPrompts::confirm(const QString &text)
{
    if (!m_unattended)
        return m_inner.confirm(text);
    m_console(QStringLiteral("velmora: question: ") + text);
    m_console(QStringLiteral("velmora: answer: No (nobody can answer during a batch job)"));
    toProtocol(ProtocolEntry::Status, m_language.text(QStringLiteral("Question: "), QStringLiteral("Frage: ")) + text);
    toProtocol(ProtocolEntry::Status, m_language.text(QStringLiteral("Answered No: nobody can answer during a batch job."),
                                                      QStringLiteral("Mit Nein beantwortet: während eines Batchjobs kann "
                                                                     "niemand antworten.")));
    return false;
}

void UnattendedPrompts::dialogNotShown(const QString &title)
{
    const QString text = m_language.text(QStringLiteral("Not shown during a batch job: the dialog \"%1\"."),
                                          QString::fromUtf8("Während eines Batchjobs nicht gezeigt: der Dialog \"%1\"."))
                             .arg(title);
    m_console(QStringLiteral("velmora: ") + text);
    toProtocol(ProtocolEntry::Status, text);
}

QString UnattendedPrompts::openFile(const QString &title, const QString &startFolder, const QString &filter)
{
    if (!m_unattended)
        return m_inner.openFile(title, startFolder, filter);
    dialogNotShown(title);
    return {};
}

QStringList UnattendedPrompts::openFiles(const QString &title, const QString &startFolder, const QString &filter)
{
    if (!m_unattended)
        return m_inner.openFiles(title, startFolder, filter);
    dialogNotShown(title);
    return {};
}

QString UnattendedPrompts::saveFile(const QString &title, const QString &startFolder, const QString &fileName,
                                    const QString &defaultSuffix, const QString &filter)
{
    if (!m_unattended)
        return m_inner.saveFile(title, startFolder, fileName, defaultSuffix, filter);
    dialogNotShown(title);
    return {};
}

QString UnattendedPrompts::chooseFolder(const QString &title, const QString &startFolder, bool allowCreate)
{
    if (!m_unattended)
        return m_inner.chooseFolder(title, startFolder, allowCreate);
    dialogNotShown(title);
    return {};
}

UserPrompts::CertificateAnswer UnattendedPrompts::askCertificate(const QString &title, const QString &text)
{
    if (!m_unattended)
        return m_inner.askCertificate(title, text);
    refuseTrust(title, text);
    return CertificateAnswer::Cancel;
}

UserPrompts::CertificateAnswer UnattendedPrompts::askHostKey(const QString &title, const QString &text)
{
    if (!m_unattended)
        return m_inner.askHostKey(title, text);
    refuseTrust(title, text);
    return CertificateAnswer::Cancel;
}

void UnattendedPrompts::refuseTrust(const QString &title, const QString &text)
{
    const QString flat = title + QStringLiteral(": ") + QString(text).replace(u'\n', QStringLiteral(" | "));
    const QString answer = m_language.text(QStringLiteral("Not trusted: nobody can answer during a batch job."),
                                           QString::fromUtf8("Nicht vertraut: während eines Batchjobs kann niemand antworten."));
    m_console(QStringLiteral("velmora: ") + flat);
    m_console(QStringLiteral("velmora: ") + answer);
    toProtocol(ProtocolEntry::Error, flat);
    toProtocol(ProtocolEntry::Error, answer);
}

std::optional<QString> UnattendedPrompts::askSecret(const QString &title, const QString &text)
{
    if (!m_unattended)
        return m_inner.askSecret(title, text);
    dialogNotShown(title);
    return std::nullopt;
}

UserPrompts::LockedKeyringAnswer UnattendedPrompts::askLockedKeyring(const QString &title, const QString &text)
{
    if (!m_unattended)
        return m_inner.askLockedKeyring(title, text);
    dialogNotShown(title);
    return LockedKeyringAnswer::Cancel;
}

} // namespace Velmora
