#include "DefinitionLexer.h"

#include "WebAddresses.h"

#include <Qsci/qsciscintilla.h>

#include <QColor>

namespace Velmora {

DefinitionLexer::DefinitionLexer(Highlighter highlighter, const QFont &font, QObject *parent)
    : QsciLexerCustom(parent)
    , m_highlighter(highlighter)
    , m_styler(HighlighterDefinition::For(highlighter))
    , m_font(font)
{
    // The fonts and colours are the definition's; nothing is read from stored lexer settings.
    setDefaultFont(font);
    for (int style = 0; style < StyleCount; ++style) {
        setColor(defaultColor(style), style);
        setPaper(defaultPaper(style), style);
        setFont(defaultFont(style), style);
    }
}

const char *DefinitionLexer::language() const
{
    switch (m_highlighter) {
    case Highlighter::Html:
        return "HTML";
    case Highlighter::JavaScript:
        return "JavaScript";
    case Highlighter::Sql:
        return "SQL";
    case Highlighter::Pascal:
        return "Pascal";
    case Highlighter::None:
        break;
    }
    return "Text";
}

QString DefinitionLexer::description(int style) const
{
    switch (static_cast<StyleId>(style)) {
    case StyleId::Default:
        return QStringLiteral("Default");
    case StyleId::Comment:
        return QStringLiteral("Comment");
    case StyleId::SingleQuoted:
        return QStringLiteral("Single-quoted string");
    case StyleId::DoubleQuoted:
        return QStringLiteral("Double-quoted string");
    case StyleId::Symbol:
        return QStringLiteral("Symbol");
    case StyleId::Number:
        return QStringLiteral("Number");
    case StyleId::Keywords1:
        return QStringLiteral("Keywords");
    case StyleId::Keywords2:
        return QStringLiteral("Keywords 2");
    case StyleId::Keywords3:
        return QStringLiteral("Keywords 3");
    }
    return {};
}

QColor DefinitionLexer::defaultColor(int style) const
{
    if (style < 0 || style >= StyleCount)
        return QsciLexerCustom::defaultColor(style);
    return QColor::fromRgb(m_styler.definition().styleOf(static_cast<StyleId>(style)).colour);
}

QColor DefinitionLexer::defaultPaper(int) const
{
    return Qt::white;
}

QFont DefinitionLexer::defaultFont(int style) const
{
    QFont font = m_font;
    if (style >= 0 && style < StyleCount) {
        const TextStyle text = m_styler.definition().styleOf(static_cast<StyleId>(style));
        font.setBold(text.bold);
        font.setItalic(text.italic);
    }
    return font;
}

void DefinitionLexer::styleText(int start, int end)
{
    QsciScintilla *text = editor();
    if (!text)
        return;
    // Styling always starts at a line's beginning, with the block-comment state that the line
    // before left behind.
    const long lineCount = text->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT);
    const long documentLength = text->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    const long firstLine = text->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, static_cast<unsigned long>(start));
    const long lastLine = text->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION,
                                              static_cast<unsigned long>(qMax(start, end - 1)));
    bool inBlockComment = firstLine > 0
        && (text->SendScintilla(QsciScintillaBase::SCI_GETLINESTATE, static_cast<unsigned long>(firstLine - 1)) & 1);
    for (long line = firstLine; line <= lastLine && line < lineCount; ++line) {
        const long lineStart = text->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
        const long lineEnd = text->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
        const long nextStart = line + 1 < lineCount
            ? text->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line + 1))
            : documentLength;
        QByteArray bytes(lineEnd - lineStart + 1, '\0');
        if (lineEnd > lineStart)
            text->SendScintilla(QsciScintillaBase::SCI_GETTEXTRANGE, lineStart, lineEnd, bytes.data());
        bytes.truncate(lineEnd - lineStart);

        startStyling(static_cast<int>(lineStart));
        for (const StyleRun &run : m_styler.styleLine(bytes, inBlockComment))
            setStyling(static_cast<int>(run.length), static_cast<int>(run.style));
        if (nextStart > lineEnd)
            setStyling(static_cast<int>(nextStart - lineEnd), static_cast<int>(StyleId::Default));
        text->SendScintilla(QsciScintillaBase::SCI_SETLINESTATE, static_cast<unsigned long>(line),
                            static_cast<long>(inBlockComment ? 1 : 0));
        markWebAddresses(lineStart, nextStart, bytes);
    }
}

void DefinitionLexer::markWebAddresses(long lineStart, long nextLineStart, const QByteArray &line)
{
    QsciScintilla *text = editor();
    for (int indicator : {AddressTextIndicator, AddressLineIndicator}) {
        text->SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, indicator);
        text->SendScintilla(QsciScintillaBase::SCI_INDICATORCLEARRANGE, static_cast<unsigned long>(lineStart),
                            nextLineStart - lineStart);
        for (const WebAddress &address : FindWebAddresses(line))
            text->SendScintilla(QsciScintillaBase::SCI_INDICATORFILLRANGE,
                                static_cast<unsigned long>(lineStart + address.start), static_cast<long>(address.length));
    }
}

} // namespace Velmora
