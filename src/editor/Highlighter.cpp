#include "Highlighter.h"

#include <QStringList>

namespace Velmora {

Highlighter HighlighterForFile(const QString &path)
{
    static const QStringList html{
        QStringLiteral(".css"), QStringLiteral(".dhtml"), QStringLiteral(".htm"), QStringLiteral(".html"),
        QStringLiteral(".shtm"), QStringLiteral(".shtml"), QStringLiteral(".php"), QStringLiteral(".php3"),
        QStringLiteral(".php4"), QStringLiteral(".php5"), QStringLiteral(".phtml"), QStringLiteral(".txt"),
        QStringLiteral(".xml"), QStringLiteral(".pl"), QStringLiteral(".cgi"), QStringLiteral(".asp"),
        QStringLiteral(".cfm"), QStringLiteral(".tpl"), QStringLiteral(".py")};
    static const QStringList pascal{QStringLiteral(".pas"), QStringLiteral(".dpr"), QStringLiteral(".dpk"),
                                    QStringLiteral(".inc"), QStringLiteral(".dfm"), QStringLiteral(".dproj")};

    // Only the name counts: a "." in a folder name is no extension.
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return Highlighter::None;
    const QString extension = name.mid(dot);
    if (html.contains(extension))
        return Highlighter::Html;
    if (extension == u".js")
        return Highlighter::JavaScript;
    if (extension == u".sql")
        return Highlighter::Sql;
    if (pascal.contains(extension))
        return Highlighter::Pascal;
    return Highlighter::None;
}

} // namespace Velmora
