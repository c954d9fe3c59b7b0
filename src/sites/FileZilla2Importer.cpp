#include "FileZilla2Importer.h"

#include "ImportText.h"

#include "common/TextReplace.h"
#include "common/Word.h"

#include <QRegularExpression>

namespace Velmora {

namespace {

// The site's "ServerType" attribute: absent or 0 is plain FTP; any other type is not (an
// encrypted connection or SFTP) and never becomes a plain FTP site.
SiteTransport::Kind serverType(const QString &line, QString *record)
{
    static const QRegularExpression attribute(QStringLiteral("\\bServerType\\s*=\\s*\"([^\"]*)\""),
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = attribute.match(line);
    *record = match.captured(0);
    if (!match.hasMatch())
        return SiteTransport::Ftp;
    const QString value = Trim(match.captured(1));
    return value.isEmpty() || value == u'0' ? SiteTransport::Ftp : SiteTransport::Unspecified;
}

} // namespace

SiteImportResult FileZilla2Importer::Parse(const QStringList &lines)
{
    SiteImportResult result;
    const QString quote = QStringLiteral("\"");
    for (const QString &rawLine : lines) {
        if (!rawLine.contains(QStringLiteral("<Site Name=")))
            continue;
        // An empty attribute becomes one blank, so it still counts as a word and later values
        // keep their numbers.
        const QString line = ReplaceAll(rawLine, QStringLiteral("\"\""), QStringLiteral("\" \""));
        FTPConnection site = BlankImportRecord();
        site.Name = Word(2, line, quote);
        site.Host = Word(4, line, quote);
        site.Port = Word(6, line, quote);
        site.User = Word(8, line, quote);
        site.ServerPath = Word(12, line, quote);
        site.LocalPath = Word(14, line, quote);
        site.Mode = FTPConnection::Passive;
        QString record;
        const SiteTransport::Kind transport = serverType(rawLine, &record);
        result.add(site, transport, record);
    }
    return result;
}

} // namespace Velmora
