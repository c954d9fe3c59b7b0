#include "HighlighterDefinition.h"

#include <initializer_list>

namespace Velmora {

namespace {

QSet<QByteArray> upperWords(std::initializer_list<const char *> words)
{
    QSet<QByteArray> set;
    for (const char *word : words)
        set.insert(QByteArray(word).toUpper());
    return set;
}

HighlighterDefinition html()
{
    HighlighterDefinition d;
    d.colouring = true;
    d.lineComment = "//";
    d.blockCommentOpen = "<!--";
    d.blockCommentClose = "-->";
    d.comment = {Colour::Silver, false, true};
    d.singleQuotedStrings = true;
    d.singleQuoted = {Colour::Blue};
    d.doubleQuotedStrings = true;
    d.doubleQuoted = {Colour::Blue};
    d.symbol = {Colour::Teal};
    d.number = {Colour::Black};
    d.keywordGroups = {
        {upperWords({"&lt", "ABREV", "ACRONYM", "ADDRESS", "APPLET", "AREA", "AU", "AUTHOR", "B", "BANNER", "BASE",
                     "BASEFONT", "BGSOUND", "BIG", "BLINK", "BLOCQUOTE", "BODY", "BQ", "BR", "CAPTION", "CENTER", "CITE",
                     "CODE", "COL", "COLGROUP", "COMMENT", "CREDIT", "DEL", "DFN", "DIR", "DIV", "DL", "DT", "DD", "EM",
                     "EMBED", "FIG", "FN", "FONT", "FORM", "FRAME", "FRAMESET", "HEAD", "H1", "H2", "H3", "H4", "H5",
                     "H6", "HR", "HTML", "I", "IFRAME", "IMG", "INPUT", "INS", "ISINDEX", "KBD", "LANG", "LH", "LI",
                     "LINK", "LISTING", "MAP", "MARQUEE", "MATH", "MENU", "META", "MULTICOL", "NOBR", "NOFRAMES",
                     "NOTE", "OL", "OVERLAY", "P", "PARAM", "PERSON", "PLAINTEXT", "PRE", "Q", "RANGE", "SAMP",
                     "SCRIPT", "SELECT", "SMALL", "SPACER", "SPOT", "STRIKE", "STRONG", "SUB", "SUP", "TAB", "TBODY",
                     "TEXTAREA", "TEXTFLOW", "TFOOT", "TH", "THEAD", "TITLE", "TT", "U", "UL", "VAR", "WBR", "XMP",
                     "DOCTYPE", "PUBLIC"}),
         {Colour::Blue}},
        {upperWords({"TABLE", "BORDER", "TD", "TR", "STYLE", "BORDERCOLOR", "WIDTH", "ID", "BORDERCOLORLIGHT",
                     "BORDERCOLORDARK"}),
         {Colour::Olive}},
        {upperWords({"A", "HREF"}), {Colour::Red}},
    };
    return d;
}

HighlighterDefinition javaScript()
{
    HighlighterDefinition d;
    d.colouring = true;
    d.lineComment = "//";
    d.blockCommentOpen = "<!--";
    d.blockCommentClose = "-->";
    d.comment = {Colour::Silver, false, true};
    d.singleQuotedStrings = true;
    d.singleQuoted = {Colour::Green};
    d.doubleQuotedStrings = true;
    d.doubleQuoted = {Colour::Teal};
    d.symbol = {Colour::Teal};
    d.number = {Colour::Navy, true};
    d.keywordGroups = {
        {upperWords({"SCRIPT", "OBJECT", "FOR", "IF", "THEN", "THIS", "DO", "WHILE", "BREAK", "{", "}", "(", ")",
                     "SWITCH", "ELSE", "FUNCTION", "WINDOW", "DOCUMENT", ";", "RETURN", "STYLE"}),
         {Colour::Fuchsia, true}},
    };
    return d;
}

HighlighterDefinition sql()
{
    HighlighterDefinition d;
    d.colouring = true;
    d.lineComment = "'";
    d.blockCommentOpen = "{";
    d.blockCommentClose = "}";
    d.comment = {Colour::Navy, false, true};
    d.doubleQuotedStrings = true;
    d.doubleQuoted = {Colour::Blue};
    d.symbol = {Colour::Teal};
    d.number = {Colour::Fuchsia, true};
    d.keywordGroups = {
        {upperWords({"and", "begin", "break", "by", "close", "continue", "create", "deallocate", "declare", "delete",
                     "do", "else", "end", "exec", "fetch", "for", "from", "group", "having", "if", "inner", "insert",
                     "join", "left", "like", "not", "on", "open", "or", "order", "outer", "proc", "procedure", "repeat",
                     "return", "right", "rollback", "select", "set", "to", "trans", "transaction", "until", "update",
                     "values", "where", "while"}),
         {Colour::Green}},
    };
    return d;
}

HighlighterDefinition pascal()
{
    HighlighterDefinition d;
    d.colouring = true;
    d.lineComment = "//";
    d.blockCommentOpen = "{";
    d.blockCommentClose = "}";
    d.comment = {Colour::Navy, false, true};
    d.singleQuotedStrings = true;
    d.singleQuoted = {Colour::Blue};
    d.symbol = {Colour::Red};
    d.number = {Colour::Fuchsia, true};
    d.dollarStartsHexNumber = true;
    d.keywordGroups = {
        {upperWords({"begin", "break", "class", "const", "constructor", "continue", "default", "destructor", "do",
                     "else", "end", "except", "finalise", "finally", "for", "function", "if", "implementation",
                     "inherited", "initialise", "interface", "not", "override", "private", "procedure", "property",
                     "protected", "public", "published", "raise", "repeat", "stored", "then", "to", "try", "type",
                     "unit", "until", "uses", "var", "virtual", "while", "with"}),
         {Colour::Green, true}},
    };
    return d;
}

} // namespace

TextStyle HighlighterDefinition::styleOf(StyleId id) const
{
    switch (id) {
    case StyleId::Default:
        return {};
    case StyleId::Comment:
        return comment;
    case StyleId::SingleQuoted:
        return singleQuoted;
    case StyleId::DoubleQuoted:
        return doubleQuoted;
    case StyleId::Symbol:
        return symbol;
    case StyleId::Number:
        return number;
    case StyleId::Keywords1:
    case StyleId::Keywords2:
    case StyleId::Keywords3: {
        const int group = static_cast<int>(id) - static_cast<int>(StyleId::Keywords1);
        return group < keywordGroups.size() ? keywordGroups[group].style : TextStyle{};
    }
    }
    return {};
}

HighlighterDefinition HighlighterDefinition::For(Highlighter highlighter)
{
    switch (highlighter) {
    case Highlighter::Html:
        return html();
    case Highlighter::JavaScript:
        return javaScript();
    case Highlighter::Sql:
        return sql();
    case Highlighter::Pascal:
        return pascal();
    case Highlighter::None:
        break;
    }
    return {};
}

bool HighlighterDefinition::IsSymbolCharacter(char c)
{
    switch (c) {
    case ' ': case ',': case ';': case ':': case '.': case '(': case ')': case '{': case '}': case '[': case ']':
    case '=': case '-': case '*': case '/': case '^': case '%': case '<': case '>': case '#': case '\r': case '\n':
        return true;
    default:
        return false;
    }
}

} // namespace Velmora
