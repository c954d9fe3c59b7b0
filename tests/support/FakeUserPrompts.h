#pragma once

#include "app/UserPrompts.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace Velmora::Testing {

// Records every text the program would show and answers from scripted queues. Recorded lines
// look like "information: text", "error: text", "confirm: text", "askYesNoAbort: text",
// "openFile: title", "saveFile: title|fileName", "chooseFolder: title". An unscripted question
// answers No (Abort for the three-way one), an unscripted dialog answers with nothing (cancel).
class FakeUserPrompts : public UserPrompts {
public:
    void information(const QString &text) override;
    void error(const QString &text) override;
    bool confirm(const QString &text) override;
    Answer askYesNoAbort(const QString &text) override;
    QString openFile(const QString &title, const QString &startFolder, const QString &filter) override;
    // Records "openFiles: title"; answers from filesAnswers.
    QStringList openFiles(const QString &title, const QString &startFolder, const QString &filter) override;
    QString saveFile(const QString &title, const QString &startFolder, const QString &fileName,
                     const QString &defaultSuffix, const QString &filter) override;
    QString chooseFolder(const QString &title, const QString &startFolder, bool allowCreate) override;
    // Records "askCertificate: title" and then "certificate text: text"; answers from
    // certificateAnswers, unscripted: Cancel.
    CertificateAnswer askCertificate(const QString &title, const QString &text) override;
    // Records "askHostKey: title" and then "host key text: text"; answers from hostKeyAnswers,
    // unscripted: Cancel.
    CertificateAnswer askHostKey(const QString &title, const QString &text) override;
    // Records "askSecret: title" and then "secret text: text"; answers from secretAnswers,
    // unscripted: cancelled.
    std::optional<QString> askSecret(const QString &title, const QString &text) override;
    // Records "askLockedKeyring: title" and then "locked keyring text: text"; answers from
    // lockedKeyringAnswers, Cancel when none is left.
    LockedKeyringAnswer askLockedKeyring(const QString &title, const QString &text) override;

    QStringList shown;                 // every prompt in order
    QList<bool> confirmAnswers;        // consumed from the front
    QList<Answer> threeWayAnswers;     // for askYesNoAbort, from the front; unscripted: Abort
    QStringList fileAnswers;           // for openFile / saveFile, from the front
    QList<QStringList> filesAnswers;   // for openFiles, from the front
    QStringList folderAnswers;         // for chooseFolder, from the front
    QList<CertificateAnswer> certificateAnswers; // for askCertificate, from the front
    QList<CertificateAnswer> hostKeyAnswers;     // for askHostKey, from the front
    QList<std::optional<QString>> secretAnswers; // for askSecret, from the front
    QList<LockedKeyringAnswer> lockedKeyringAnswers; // for askLockedKeyring, from the front
    QString lastStartFolder;
    QString lastFilter; // of openFile and saveFile

    void clear() { shown.clear(); }
};

} // namespace Velmora::Testing
