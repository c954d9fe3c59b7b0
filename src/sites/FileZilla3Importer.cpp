#include "FileZilla3Importer.h"

#include "ImportText.h"

#include "common/Word.h"

namespace Velmora {

namespace {

// The value between an opening and a closing tag: trimmed, with German letters repaired.
QString tagValue(const QString &line, const QString &open, const QString &close, bool repair)
{
    const QString value = Trim(RemoveAll(RemoveAll(line, open), close));
    return repair ? RepairGermanLetters(value) : value;
}

} // namespace

bool FileZilla3Importer::SiteFilePath(const QStringList &defaultsLines, const QString &defaultsFolder, QString *siteFile)
{
    static const QString setting = QStringLiteral("<Setting name=\"Config Location\">");
    bool found = false;
    QString location;
    for (const QString &line : defaultsLines) {
        if (!line.contains(setting))
            continue;
        found = true;
        location = RemoveAll(RemoveAll(line, setting), QStringLiteral("</Setting>"));
        location.replace(u'\\', u'/');
        location = Trim(location);
    }
    if (!found)
        return false;
    if (!location.isEmpty() && !location.endsWith(u'/'))
        location += u'/';
    const bool absolute = location.startsWith(u'/') || location.contains(u':');
    *siteFile = (absolute ? location : defaultsFolder + location) + QStringLiteral("sitemanager.xml");
    return true;
}

QString FileZilla3Importer::ServerPathFromRemoteDir(const QString &value)
{
    const QString blank = QStringLiteral(" ");
    QString path = u'/' + Word(4, value, blank);
    for (int n = 6; n <= 16; n += 2) {
        const QString segment = Word(n, value, blank);
        if (!segment.isEmpty())
            path += u'/' + segment;
    }
    return path;
}

SiteImportResult FileZilla3Importer::Parse(const QStringList &lines)
{
    SiteImportResult result;
    FTPConnection site = BlankImportRecord();
    bool open = false; // a site has begun and not yet ended
    const QString blank = QStringLiteral(" ");
    for (const QString &line : lines) {
        if (line.contains(QStringLiteral("<Host>"))) {
            site.Host = OrDefault(tagValue(line, QStringLiteral("<Host>"), QStringLiteral("</Host>"), true), blank);
            open = true;
        }
        if (line.contains(QStringLiteral("<Port>")))
            site.Port = OrDefault(tagValue(line, QStringLiteral("<Port>"), QStringLiteral("</Port>"), true), blank);
        if (line.contains(QStringLiteral("<User>")))
            site.User = OrDefault(tagValue(line, QStringLiteral("<User>"), QStringLiteral("</User>"), false), blank);
        if (line.contains(QStringLiteral("<Pass>")))
            site.Password = OrDefault(tagValue(line, QStringLiteral("<Pass>"), QStringLiteral("</Pass>"), true), blank);
        if (line.contains(QStringLiteral("<PasvMode>"))) {
            const QString mode = Trim(RemoveAll(RemoveAll(line, QStringLiteral("<PasvMode>")), QStringLiteral("</PasvMode>")));
            if (mode == QStringLiteral("MODE_DEFAULT") || mode == QStringLiteral("MODE_PASSIVE"))
                site.Mode = FTPConnection::Passive;
            else if (mode == QStringLiteral("MODE_ACTIVE"))
                site.Mode = FTPConnection::Active;
        }
        if (line.contains(QStringLiteral("<Name>"))) {
            site.Name = OrDefault(tagValue(line, QStringLiteral("<Name>"), QStringLiteral("</Name>"), true), blank);
            open = true;
        }
        if (line.contains(QStringLiteral("<LocalDir>")))
            site.LocalPath = OrDefault(tagValue(line, QStringLiteral("<LocalDir>"), QStringLiteral("</LocalDir>"), true), QStringLiteral("\\"));
        if (line.contains(QStringLiteral("<RemoteDir>")))
            site.ServerPath = ServerPathFromRemoteDir(tagValue(line, QStringLiteral("<RemoteDir>"), QStringLiteral("</RemoteDir>"), true));
        if (line.contains(QStringLiteral("</Server>"))) {
            result.sites.append(site);
            site = BlankImportRecord();
            open = false;
        }
    }
    if (open) {
        const QString name = Trim(site.Name);
        const QString host = Trim(site.Host);
        result.problems.append({QStringLiteral("The last site (\"") + name + QStringLiteral("\", host \"") + host
                                    + QStringLiteral("\") has no closing </Server> line and was not imported."),
                                QStringLiteral("Die letzte Seite (\"") + name + QStringLiteral("\", Host \"") + host
                                    + QString::fromUtf8("\") hat keine schließende </Server>-Zeile und wurde nicht importiert.")});
    }
    return result;
}

} // namespace Velmora
