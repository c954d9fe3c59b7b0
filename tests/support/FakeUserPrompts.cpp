#include "FakeUserPrompts.h"

namespace Velmora::Testing {

void FakeUserPrompts::information(const QString &text)
{
    shown.append(QStringLiteral("information: ") + text);
}

void FakeUserPrompts::error(const QString &text)
{
    shown.append(QStringLiteral("error: ") + text);
}

bool FakeUserPrompts::confirm(const QString &text)
{
    shown.append(QStringLiteral("confirm: ") + text);
    return confirmAnswers.isEmpty() ? false : confirmAnswers.takeFirst();
}

UserPrompts::CertificateAnswer FakeUserPrompts::askCertificate(const QString &title, const QString &text)
{
    shown.append(QStringLiteral("askCertificate: ") + title);
    shown.append(QStringLiteral("certificate text: ") + text);
    return certificateAnswers.isEmpty() ? CertificateAnswer::Cancel : certificateAnswers.takeFirst();
}

UserPrompts::CertificateAnswer FakeUserPrompts::askHostKey(const QString &title, const QString &text)
{
    shown.append(QStringLiteral("askHostKey: ") + title);
    shown.append(QStringLiteral("host key text: ") + text);
    return hostKeyAnswers.isEmpty() ? CertificateAnswer::Cancel : hostKeyAnswers.takeFirst();
}

std::optional<QString> FakeUserPrompts::askSecret(const QString &title, const QString &text)
{
    shown.append(QStringLiteral("askSecret: ") + title);
    shown.append(QStringLiteral("secret text: ") + text);
    return secretAnswers.isEmpty() ? std::nullopt : secretAnswers.takeFirst();
}

UserPrompts::LockedKeyringAnswer FakeUserPrompts::askLockedKeyring(const QString &title, const QString &text)
{
    shown.append(QStringLiteral("askLockedKeyring: ") + title);
    shown.append(QStringLiteral("locked keyring text: ") + text);
    return lockedKeyringAnswers.isEmpty() ? LockedKeyringAnswer::Cancel : lockedKeyringAnswers.takeFirst();
}

UserPrompts::Answer FakeUserPrompts::askYesNoAbort(const QString &text)
{
    shown.append(QStringLiteral("askYesNoAbort: ") + text);
    return threeWayAnswers.isEmpty() ? Answer::Abort : threeWayAnswers.takeFirst();
}

QString FakeUserPrompts::openFile(const QString &title, const QString &startFolder, const QString &filter)
{
    shown.append(QStringLiteral("openFile: ") + title);
    lastStartFolder = startFolder;
    lastFilter = filter;
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QStringList FakeUserPrompts::openFiles(const QString &title, const QString &startFolder, const QString &filter)
{
    shown.append(QStringLiteral("openFiles: ") + title);
    lastStartFolder = startFolder;
    lastFilter = filter;
    return filesAnswers.isEmpty() ? QStringList() : filesAnswers.takeFirst();
}

QString FakeUserPrompts::saveFile(const QString &title, const QString &startFolder, const QString &fileName,
                                  const QString &, const QString &filter)
{
    shown.append(QStringLiteral("saveFile: ") + title + u'|' + fileName);
    lastStartFolder = startFolder;
    lastFilter = filter;
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QString FakeUserPrompts::chooseFolder(const QString &title, const QString &startFolder, bool)
{
    shown.append(QStringLiteral("chooseFolder: ") + title);
    lastStartFolder = startFolder;
    return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
}

} // namespace Velmora::Testing
