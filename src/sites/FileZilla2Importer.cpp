#include "FileZilla2Importer.h"

#include "ImportText.h"

#include "common/TextReplace.h"
#include "common/Word.h"

namespace Velmora {

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
        result.sites.append(site);
    }
    return result;
}

} // namespace Velmora
