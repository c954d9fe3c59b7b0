#include "FlashFxp3Importer.h"

#include "ImportIni.h"
#include "ImportText.h"

namespace Velmora {

SiteImportResult FlashFxp3Importer::Parse(const QStringList &lines)
{
    SiteImportResult result;
    const ImportIni ini(lines);
    for (const QString &section : ini.sections()) {
        FTPConnection site;
        site.Host = OrDefault(ini.value(section, QStringLiteral("IP")), QStringLiteral(" "));
        site.Port = OrDefault(ini.value(section, QStringLiteral("port")), QStringLiteral("21"));
        site.User = OrDefault(ini.value(section, QStringLiteral("user")), QStringLiteral(" "));
        site.Password = QStringLiteral(" ");
        site.LocalPath = OrDefault(ini.value(section, QStringLiteral("localpath")), QStringLiteral("\\"));
        site.ServerPath = OrDefault(ini.value(section, QStringLiteral("path")), QStringLiteral("/"));
        site.Name = section;
        site.Mode = FTPConnection::Passive;
        result.add(site); // an IP written as "ftps://..." names its protocol
    }
    return result;
}

} // namespace Velmora
