#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <sys/stat.h>

namespace Velmora::Testing {

// What a folder tree holds, entry by entry, without following links: kind, size, SHA-256 of
// the content, permission bits, and where a link points. Two snapshots taken before and after a
// command name exactly the paths the command changed.
class TreeSnapshot {
public:
    struct Node {
        char kind = 'f'; // 'f' file, 'd' folder, 'l' link
        qint64 size = 0;
        QByteArray sha256;
        unsigned mode = 0;
        QString linkTarget;
    };

    // Every entry below root, keyed by prefix + "/" + its path relative to root.
    static QMap<QString, Node> take(const QString &root, const QString &prefix)
    {
        QMap<QString, Node> nodes;
        QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            struct stat st {};
            if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
                continue;
            Node node;
            node.mode = unsigned(st.st_mode) & 07777u;
            if (S_ISLNK(st.st_mode)) {
                node.kind = 'l';
                node.mode = 0;
                node.linkTarget = QFileInfo(path).symLinkTarget();
            } else if (S_ISDIR(st.st_mode)) {
                node.kind = 'd';
            } else {
                node.size = qint64(st.st_size);
                QFile file(path);
                if (file.open(QIODevice::ReadOnly)) {
                    QCryptographicHash hash(QCryptographicHash::Sha256);
                    hash.addData(&file);
                    node.sha256 = hash.result();
                }
            }
            nodes.insert(prefix + u'/' + QDir(root).relativeFilePath(path), node);
        }
        return nodes;
    }

    // The changes from before to after, sorted: "-path" gone, "+path" new, "~path" other content
    // or kind or link target, "m0755 path" other permission bits (with the new ones).
    static QStringList changes(const QMap<QString, Node> &before, const QMap<QString, Node> &after)
    {
        QStringList out;
        QSet<QString> paths;
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            paths.insert(it.key());
        for (auto it = after.cbegin(); it != after.cend(); ++it)
            paths.insert(it.key());
        for (const QString &path : paths) {
            if (!after.contains(path)) {
                out << u'-' + path;
                continue;
            }
            if (!before.contains(path)) {
                out << u'+' + path;
                continue;
            }
            const Node &a = before[path];
            const Node &b = after[path];
            if (a.kind != b.kind || a.size != b.size || a.sha256 != b.sha256 || a.linkTarget != b.linkTarget)
                out << u'~' + path;
            if (a.kind == b.kind && a.mode != b.mode)
                out << QStringLiteral("m%1 ").arg(b.mode, 4, 8, QChar(u'0')) + path;
        }
        out.sort();
        return out;
    }
};

} // namespace Velmora::Testing
