#include "RemotePath.h"

#include "TextReplace.h"
#include "Word.h"

namespace Velmora {

QString NormaliseRemotePath(const QString &path)
{
    QString result = path;
    result.replace(u'\\', u'/');
    result = ReplaceAll(result, QStringLiteral("//"), QStringLiteral("/"));
    if (result.contains(u'/') && result.size() > 1 && result.endsWith(u'/'))
        result.chop(1);
    return result;
}

QString ToLocalPath(const QString &path)
{
    return ReplaceAll(path, QStringLiteral("//"), QStringLiteral("/"));
}

QString RemoteParentPath(const QString &path)
{
    const QStringList words = Words(path, u"/");
    if (words.size() <= 1)
        return {};
    QString result;
    for (qsizetype i = 0; i + 1 < words.size(); ++i)
        result += u'/' + words[i];
    return result;
}

QString RemoteLastSegment(const QString &path)
{
    const QStringList words = Words(path, u"/");
    return words.isEmpty() ? QString() : words.last();
}

QString ResolveRemotePath(const QString &folder, const QString &name)
{
    QString relative = name;
    relative.replace(u'\\', u'/');
    const QString whole = relative.startsWith(u'/') ? relative : folder + u'/' + relative;
    QStringList kept;
    for (const QString &segment : whole.split(u'/', Qt::SkipEmptyParts)) {
        if (segment == u".")
            continue;
        if (segment == u"..") {
            if (!kept.isEmpty())
                kept.removeLast();
            continue;
        }
        kept.append(segment);
    }
    return u'/' + kept.join(u'/');
}

QString IncludeTrailingBackslash(const QString &path)
{
    if (path.isEmpty() || path.endsWith(u'/'))
        return path;
    return path + u'/';
}

} // namespace Velmora
