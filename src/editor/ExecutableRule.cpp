#include "ExecutableRule.h"

namespace Velmora {

bool HasExecutableExtension(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot < 0 || fileName.indexOf(u'/', dot) >= 0)
        return false;
    const QString extension = fileName.mid(dot).toLower();
    return extension == u".exe" || extension == u".com" || extension == u".dll" || extension == u".ocx";
}

} // namespace Velmora
