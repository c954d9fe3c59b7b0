#include "FileZilla3Importer.h"

#include "ImportText.h"

#include "common/TextCodec.h"
#include "common/Word.h"

#include <QRegularExpression>

namespace Velmora {

namespace {

// A "<Pass ...>" opening tag with attributes; a bare "<Pass>" is handled on its own.
const QRegularExpression &passWithAttributes()
{
    static const QRegularExpression tag(QStringLiteral("<Pass\\s([^>]*)>"));
    return tag;
}

const QRegularExpression &encodingAttribute()
{
    static const QRegularExpression attribute(QStringLiteral("\\bencoding\\s*=\\s*\"([^\"]*)\""));
    return attribute;
}

// Why a site's password could not be taken.
enum class PasswordTrouble { None, NotBase64, UnknownEncoding };

// A password FileZilla stored as base64 of its UTF-8 text; false when value is not base64.
bool decodeBase64Password(const QString &value, QString *password)
{
    for (const QChar c : value) {
        if (c.unicode() >= 0x80)
            return false;
    }
    const QByteArray::FromBase64Result decoded =
        QByteArray::fromBase64Encoding(value.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return false;
    // UTF-8 as FileZilla writes it; bytes that are not UTF-8 are read as Windows-1252. No
    // trimming: blanks at either end belong to the password.
    *password = RepairGermanLetters(TextCodec::Decode(*decoded));
    return true;
}

QString siteLabel(const FTPConnection &site)
{
    return QStringLiteral("\"") + Trim(site.Name) + QStringLiteral("\" (host \"") + Trim(site.Host) + QStringLiteral("\")");
}

QString germanSiteLabel(const FTPConnection &site)
{
    return QStringLiteral("\"") + Trim(site.Name) + QStringLiteral("\" (Host \"") + Trim(site.Host) + QStringLiteral("\")");
}

SiteImportResult::Problem passwordProblem(PasswordTrouble trouble, const QString &encoding, const FTPConnection &site)
{
    if (trouble == PasswordTrouble::NotBase64) {
        return {QStringLiteral("The password of the site ") + siteLabel(site)
                    + QStringLiteral(" is not valid base64 and was not imported; the site has no password."),
                QStringLiteral("Das Passwort der Seite ") + germanSiteLabel(site)
                    + QString::fromUtf8(" ist kein gültiges Base64 und wurde nicht importiert; die Seite hat kein Passwort.")};
    }
    return {QStringLiteral("The password of the site ") + siteLabel(site) + QStringLiteral(" is stored in the encoding \"")
                + encoding + QStringLiteral("\", which cannot be read; the site has no password."),
            QStringLiteral("Das Passwort der Seite ") + germanSiteLabel(site) + QStringLiteral(" ist in der Kodierung \"")
                + encoding + QStringLiteral("\" gespeichert, die nicht gelesen werden kann; die Seite hat kein Passwort.")};
}

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

bool FileZilla3Importer::IsSiteList(const QStringList &lines)
{
    for (const QString &line : lines) {
        if (line.contains(QStringLiteral("<Servers")) || line.contains(QStringLiteral("<Server>")))
            return true;
    }
    return false;
}

SiteImportResult FileZilla3Importer::Parse(const QStringList &lines)
{
    SiteImportResult result;
    FTPConnection site = BlankImportRecord();
    bool open = false; // a site has begun and not yet ended
    bool inBookmark = false;
    QString protocol; // the site's "<Protocol>" value
    bool hasProtocol = false;
    PasswordTrouble trouble = PasswordTrouble::None;
    QString passwordEncoding;
    const QString blank = QStringLiteral(" ");
    for (const QString &line : lines) {
        // A site's bookmarks carry a name and folders of their own, which are not the site's.
        if (inBookmark || line.contains(QStringLiteral("<Bookmark>"))) {
            inBookmark = !line.contains(QStringLiteral("</Bookmark>"));
            continue;
        }
        if (line.contains(QStringLiteral("<Host>"))) {
            site.Host = OrDefault(tagValue(line, QStringLiteral("<Host>"), QStringLiteral("</Host>"), true), blank);
            open = true;
        }
        if (line.contains(QStringLiteral("<Port>")))
            site.Port = OrDefault(tagValue(line, QStringLiteral("<Port>"), QStringLiteral("</Port>"), true), blank);
        if (line.contains(QStringLiteral("<Protocol>"))) {
            protocol = Trim(RemoveAll(RemoveAll(line, QStringLiteral("<Protocol>")), QStringLiteral("</Protocol>")));
            hasProtocol = true;
        }
        if (line.contains(QStringLiteral("<Keyfile>")))
            site.KeyFile = tagValue(line, QStringLiteral("<Keyfile>"), QStringLiteral("</Keyfile>"), true);
        if (line.contains(QStringLiteral("<User>")))
            site.User = OrDefault(tagValue(line, QStringLiteral("<User>"), QStringLiteral("</User>"), false), blank);
        if (line.contains(QStringLiteral("<Pass>"))) {
            site.Password = OrDefault(tagValue(line, QStringLiteral("<Pass>"), QStringLiteral("</Pass>"), true), blank);
            trouble = PasswordTrouble::None;
        } else if (const QRegularExpressionMatch tag = passWithAttributes().match(line); tag.hasMatch()) {
            const QString attributes = tag.captured(1);
            const QRegularExpressionMatch encoding = encodingAttribute().match(attributes);
            passwordEncoding = encoding.hasMatch() ? encoding.captured(1) : QString();
            // "<Pass encoding="base64" />" holds no password at all.
            QString value;
            if (!attributes.endsWith(u'/')) {
                value = line.mid(tag.capturedEnd());
                const qsizetype close = value.indexOf(QStringLiteral("</Pass>"));
                if (close >= 0)
                    value.truncate(close);
                value = Trim(value);
            }
            trouble = PasswordTrouble::None;
            QString password;
            if (passwordEncoding.isEmpty()) {
                password = RepairGermanLetters(value);
            } else if (passwordEncoding == QStringLiteral("base64")) {
                if (!decodeBase64Password(value, &password))
                    trouble = PasswordTrouble::NotBase64;
            } else if (!value.isEmpty()) {
                trouble = PasswordTrouble::UnknownEncoding;
            }
            site.Password = OrDefault(password, blank);
        }
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
            // No "<Protocol>" means FileZilla's default, 0.
            const SiteTransport::Kind transport = SiteTransport::FromFileZilla3Protocol(hasProtocol ? protocol : QStringLiteral("0"));
            const QString record = QStringLiteral("<Protocol>") + protocol + QStringLiteral("</Protocol>");
            if (result.add(site, transport, record) && trouble != PasswordTrouble::None)
                result.problems.append(passwordProblem(trouble, passwordEncoding, site));
            site = BlankImportRecord();
            open = false;
            protocol.clear();
            hasProtocol = false;
            trouble = PasswordTrouble::None;
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
