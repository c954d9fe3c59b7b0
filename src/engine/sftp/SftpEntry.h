#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace Velmora {

// One entry of a remote folder, taken from the attributes the server sends (no listing text is
// parsed). The name is the server's, byte for byte: rawName holds those bytes, name their UTF-8
// reading (nameIsUtf8 tells whether the bytes were valid UTF-8; only then can the name be sent
// back as a QString).
struct SftpEntry {
    enum class Kind { File, Folder, Link, Other };

    Kind kind = Kind::File;
    QString name;
    QByteArray rawName;
    bool nameIsUtf8 = true;
    qint64 size = -1;     // -1: the server did not tell
    QDateTime modified;   // UTC; invalid when the server did not tell
    int permissions = -1; // the mode bits (07777), -1 when the server did not tell
    // For links: the target as the server names it, and what that target is (Other when it
    // cannot be reached).
    QString linkTarget;
    Kind linkTargetKind = Kind::Other;

    bool isFolderLike() const { return kind == Kind::Folder || (kind == Kind::Link && linkTargetKind == Kind::Folder); }
};

} // namespace Velmora
