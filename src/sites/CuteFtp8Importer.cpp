#include "CuteFtp8Importer.h"

#include "ImportText.h"

#include "common/Word.h"

namespace Velmora {

namespace {

bool containsEither(const QString &line, const char16_t *english, const char16_t *german)
{
    return line.contains(QString::fromUtf16(english)) || line.contains(QString::fromUtf16(german));
}

// The text after the label: up to the next ":", so a value that holds ":" keeps its first part.
QString afterLabel(const QString &line, bool repair)
{
    const QString value = Trim(Word(2, line, u":"));
    return repair ? RepairGermanLetters(value) : value;
}

} // namespace

SiteImportResult CuteFtp8Importer::Parse(const QStringList &lines)
{
    SiteImportResult result;
    const QString blank = QStringLiteral(" ");
    FTPConnection site = BlankImportRecord();
    bool passive = false;
    bool found = false; // a field of the current site was read
    // The host is cut at its first ":", so a scheme ("sftp://host") is read from the whole line.
    SiteTransport::Kind transport = SiteTransport::Ftp;
    QString scheme;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        if (containsEither(line, u"Bezeichnung:", u"Label:")) {
            site.Name = OrDefault(afterLabel(line, true), blank);
            found = true;
        }
        if (containsEither(line, u"HostName:", u"Hostname:")) {
            site.Host = OrDefault(afterLabel(line, true), blank);
            transport = SiteTransport::FromHost(line.mid(line.indexOf(u':') + 1), &scheme);
            // A URL's host is what follows its scheme, without a port.
            if (!scheme.isEmpty()) {
                const QString rest = line.mid(line.indexOf(scheme) + scheme.size());
                site.Host = OrDefault(Trim(RepairGermanLetters(Word(1, rest, u":"))), blank);
            }
            found = true;
        }
        if (containsEither(line, u"Username:", u"Benutzername:")) {
            site.User = OrDefault(afterLabel(line, false), blank);
            found = true;
        }
        if (containsEither(line, u"Password:", u"Kennwort:"))
            site.Password = blank;
        if (containsEither(line, u"Anschluss:", u"Port:")) {
            site.Port = OrDefault(afterLabel(line, true), blank);
            found = true;
        }
        if (containsEither(line, u"Default local folder:", u"Lokaler-Standardordner:")) {
            // The whole rest of the line: a drive letter's ":" belongs to the folder.
            const QString folder = Trim(RemoveAll(RemoveAll(line, QStringLiteral("Default local folder:")),
                                                  QStringLiteral("Lokaler-Standardordner:")));
            site.LocalPath = OrDefault(RepairGermanLetters(folder), QStringLiteral("\\"));
            found = true;
        }
        if (containsEither(line, u"Default remote folder:", u"Standard-Remoteordner:")) {
            site.ServerPath = OrDefault(afterLabel(line, true), QStringLiteral("/"));
            found = true;
        }
        if (!passive) {
            site.Mode = FTPConnection::Active;
            if (containsEither(line, u"Uses passive mode", u"Verwendet Passivmodus")) {
                passive = true;
                site.Mode = FTPConnection::Passive;
            }
        }
        const bool siteEnds = Trim(line).isEmpty() && i + 1 < lines.size() && Trim(lines[i + 1]).isEmpty();
        if (siteEnds && found)
            result.add(site, transport, scheme);
        if (siteEnds) {
            // Blank lines between sites start the next one afresh too.
            site = BlankImportRecord();
            passive = false;
            found = false;
            transport = SiteTransport::Ftp;
            scheme.clear();
        }
    }
    // The file's end also ends the last site, whatever blank lines precede it.
    if (found)
        result.add(site, transport, scheme);
    return result;
}

} // namespace Velmora
