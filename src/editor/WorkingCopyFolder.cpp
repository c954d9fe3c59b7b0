#include "WorkingCopyFolder.h"

namespace Velmora {

QString WorkingCopyFolder(const QString &site, const QString &serverFolder)
{
    QString key = site;
    for (QChar &c : key) {
        const char16_t u = c.unicode();
        const bool kept = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'.'
            || u == u'_' || u == u'-';
        if (!kept)
            c = u'_';
    }
    if (key.isEmpty() || key == u"." || key == u"..")
        key = QStringLiteral("site");
    QString folder = serverFolder;
    if (!folder.startsWith(u'/'))
        folder.prepend(u'/');
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return key + folder;
}

} // namespace Velmora
