#pragma once

#include "ReplaceMode.h"

#include <QString>
#include <QStringList>

namespace Velmora {

class Language;

// What a backup was made for: the operation's caption and its two details, as the index file
// and the restore window show them.
struct BackupOperation {
    QString caption;
    QString detail1;
    QString detail2;

    // An apply run of the search window. The term lines go with operations 2 and 3, the edge
    // lines with 4 and 5; only their first line is recorded, followed by "...".
    static BackupOperation forReplace(ReplaceMode mode, const Language &language, const QString &term,
                                      const QString &replacement, const QString &sourceFile,
                                      const QStringList &termLines, const QStringList &edgeLines);
    // A save in the built-in editor, started from the search window.
    static BackupOperation forEditor(const Language &language, const QString &fileName);
};

// The index file "BACKUPINFO.VELMORA" of a backup folder: seven lines saying when, on which side,
// with which operation and for which folder the backup was made.
struct BackupIndex {
    static inline const QString FileName = QStringLiteral("BACKUPINFO.VELMORA");
    static inline const QString ServerKind = QStringLiteral("Server");
    static inline const QString LocalKind = QStringLiteral("Local");

    QString time;            // the platform's short date, a blank, its long time
    QString kind;            // "Server" or "Local"
    QString operation;
    QString detail1;         // "Search:" in the restore window
    QString detail2;         // "Replace;" in the restore window
    QString backupPath;      // the backup folder, ending with "/"
    QString destinationPath; // the server folder, or the local folder, the files came from

    QStringList lines() const;
    // Missing lines count as empty.
    static BackupIndex fromLines(const QStringList &lines);
};

} // namespace Velmora
