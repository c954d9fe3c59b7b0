#include "WsFtp12Importer.h"

#include "ImportIni.h"
#include "ImportText.h"

namespace Velmora {

SiteImportResult WsFtp12Importer::Parse(const QStringList &lines)
{
    SiteImportResult result;
    const ImportIni ini(lines);
    for (const QString &section : ini.sections(QStringLiteral("_config_"))) {
        FTPConnection site;
        site.Host = OrDefault(ini.value(section, QStringLiteral("HOST")), QStringLiteral(" "));
        site.User = OrDefault(ini.value(section, QStringLiteral("UID")), QStringLiteral(" "));
        site.Port = OrDefault(ini.value(section, QStringLiteral("PORT")), QStringLiteral("21"));
        site.Password = QStringLiteral(" ");
        site.LocalPath = OrDefault(ini.value(section, QStringLiteral("LOCDIR")), QStringLiteral("\\"));
        site.ServerPath = OrDefault(ini.value(section, QStringLiteral("DIR")), QStringLiteral("/"));
        site.Name = section;
        const QString mode = ini.hasKey(section, QStringLiteral("PASVMODE")) ? ini.value(section, QStringLiteral("PASVMODE"))
                                                                          : QStringLiteral("1");
        if (mode == QStringLiteral("1"))
            site.Mode = FTPConnection::Passive;
        else if (mode == QStringLiteral("0"))
            site.Mode = FTPConnection::Active;
        else
            site.Mode = mode; // kept as it is; it connects actively
        result.add(site); // a HOST written as "sftp://..." names its protocol
    }
    return result;
}

} // namespace Velmora
