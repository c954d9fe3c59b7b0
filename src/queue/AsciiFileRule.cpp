#include "AsciiFileRule.h"

#include <QSet>

namespace Velmora {

const QStringList &AsciiExtensions()
{
    static const QStringList list = {
        QStringLiteral(".am"),    QStringLiteral(".asp"),   QStringLiteral(".bat"),   QStringLiteral(".c"),
        QStringLiteral(".cfm"),   QStringLiteral(".cgi"),   QStringLiteral(".conf"),  QStringLiteral(".cpp"),
        QStringLiteral(".css"),   QStringLiteral(".csv"),   QStringLiteral(".dhtml"), QStringLiteral(".diz"),
        QStringLiteral(".h"),     QStringLiteral(".hpp"),   QStringLiteral(".htm"),   QStringLiteral(".html"),
        QStringLiteral(".in"),    QStringLiteral(".inc"),   QStringLiteral(".js"),    QStringLiteral(".m4"),
        QStringLiteral(".mak"),   QStringLiteral(".nfo"),   QStringLiteral(".nsi"),   QStringLiteral(".pas"),
        QStringLiteral(".patch"), QStringLiteral(".php"),   QStringLiteral(".php3"),  QStringLiteral(".php4"),
        QStringLiteral(".php5"),  QStringLiteral(".phtml"), QStringLiteral(".pl"),    QStringLiteral(".po"),
        QStringLiteral(".py"),    QStringLiteral(".qmail"), QStringLiteral(".sh"),    QStringLiteral(".shtm"),
        QStringLiteral(".shtml"), QStringLiteral(".sql"),   QStringLiteral(".td"),    QStringLiteral(".tpl"),
        QStringLiteral(".txt"),   QStringLiteral(".vbs"),   QStringLiteral(".xml"),   QStringLiteral(".xrc"),
    };
    return list;
}

QString AsciiRuleFileName(const QString &path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

bool IsAsciiFile(const QString &path)
{
    static const QSet<QString> extensions(AsciiExtensions().cbegin(), AsciiExtensions().cend());
    const QString name = AsciiRuleFileName(path);
    if (name.startsWith(u'.'))
        return true;
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return true;
    return extensions.contains(name.mid(dot).toLower());
}

} // namespace Velmora
