#include "SmartFtp4Importer.h"

#include "ImportText.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace Velmora {

namespace {

void collect(const QString &folder, QSet<QString> &visited, QStringList &files)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || visited.contains(canonical))
        return;
    visited.insert(canonical);
    const QDir dir(folder);
    // Hidden files count; sockets, pipes and devices do not.
    for (const QFileInfo &file : dir.entryInfoList({QStringLiteral("*.xml")}, QDir::Files | QDir::Hidden, QDir::Name))
        files.append(file.filePath());
    for (const QFileInfo &sub : dir.entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!sub.fileName().startsWith(u'.'))
            collect(sub.filePath(), visited, files);
    }
}

} // namespace

QStringList SmartFtp4Importer::CollectFiles(const QString &folder)
{
    QStringList files;
    QSet<QString> visited;
    collect(folder, visited, files);
    QStringList kept;
    for (const QString &file : std::as_const(files)) {
        if (!file.contains(QStringLiteral("Predefined Favorites"), Qt::CaseInsensitive))
            kept.append(file);
    }
    return kept;
}

FTPConnection SmartFtp4Importer::ParseFavourite(const QStringList &lines, bool *recognised)
{
    struct Tag {
        const char16_t *tag;
        int field;
        const char16_t *fallback;
    };
    static const Tag tags[] = {
        {u"<Name>", FTPConnection::NameField, u" "},
        {u"<Host>", FTPConnection::HostField, u" "},
        {u"<Port>", FTPConnection::PortField, u"21"},
        {u"<User>", FTPConnection::UserField, u" "},
        {u"<Path>", FTPConnection::ServerPathField, u"/"},
        {u"<Folder>", FTPConnection::LocalPathField, u"\\"},
    };
    FTPConnection site;
    site.Host = site.User = site.Password = site.Name = QStringLiteral(" ");
    site.Port = QStringLiteral("21"); // a favourite without a port uses the standard one
    site.LocalPath = QStringLiteral("\\");
    site.ServerPath = QStringLiteral("/");
    site.Mode = FTPConnection::Passive;
    bool any = false;
    for (const QString &line : lines) {
        for (const Tag &entry : tags) {
            const QString tag = QString::fromUtf16(entry.tag);
            const qsizetype at = line.indexOf(tag);
            if (at < 0)
                continue;
            any = true;
            const QString rest = Trim(RemoveAll(line.mid(at), tag));
            const QString value = rest.startsWith(u'<') ? QString() : rest.left(rest.indexOf(u'<'));
            site.setField(entry.field, OrDefault(RepairGermanLetters(Trim(value)), QString::fromUtf16(entry.fallback)));
        }
    }
    site.Mode = FTPConnection::Passive;
    if (recognised)
        *recognised = any;
    return site;
}

} // namespace Velmora
