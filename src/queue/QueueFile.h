#pragma once

#include "QueueRow.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace Velmora {

// Queue files ("*.queue" and "lastqueue.ini"): one row per line, cells joined by "§", CR LF line
// ends, Windows-1252 when every character fits and UTF-8 otherwise.
class QueueFile {
public:
    enum class Status {
        Ok,
        Missing,    // no such file
        Unreadable, // it exists but cannot be opened
        NotText,    // it holds bytes no queue file has (a NUL or another control character)
    };

    struct Content {
        QList<QueueRow> rows;
        QList<int> rowLines; // the line (from 1) each row was read from
        Status status = Status::Ok;
        int badLine = 0; // NotText: the first line (from 1) with such a byte
    };

    // Reads every non-blank line as a row. A file that is not text gives no rows at all, so a
    // damaged file is never half loaded.
    static Content read(const QString &path);
    static Content parse(const QByteArray &bytes);

    // The file's bytes for these rows.
    static QByteArray encode(const QList<QueueRow> &rows);
    // Replaces the file atomically (a crash never leaves half a file).
    static bool write(const QString &path, const QList<QueueRow> &rows);
};

} // namespace Velmora
