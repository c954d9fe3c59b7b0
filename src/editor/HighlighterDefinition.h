#pragma once

#include "Highlighter.h"

#include <QByteArray>
#include <QList>
#include <QSet>

namespace Velmora {

// How one kind of text is drawn: a colour (0xRRGGBB) and the font's weight and slant.
struct TextStyle {
    quint32 colour = 0x000000;
    bool bold = false;
    bool italic = false;

    bool operator==(const TextStyle &) const = default;
};

// The styles a highlighter gives to pieces of a line; the numbers are the text component's
// style numbers.
enum class StyleId {
    Default = 0,
    Comment = 1,
    SingleQuoted = 2,
    DoubleQuoted = 3,
    Symbol = 4,
    Number = 5,
    Keywords1 = 6,
    Keywords2 = 7,
    Keywords3 = 8,
};
inline constexpr int StyleCount = 9;

// One colouring: comments, strings, symbol characters, numbers and up to three keyword groups
// (compared without regard to case). The highlighter None colours nothing.
struct HighlighterDefinition {
    struct KeywordGroup {
        QSet<QByteArray> words; // upper case
        TextStyle style;
    };

    bool colouring = false; // false: the whole text in the default style
    QByteArray lineComment;
    QByteArray blockCommentOpen;
    QByteArray blockCommentClose;
    TextStyle comment;
    bool singleQuotedStrings = false;
    TextStyle singleQuoted;
    bool doubleQuotedStrings = false;
    TextStyle doubleQuoted;
    TextStyle symbol;
    TextStyle number;
    bool dollarStartsHexNumber = false;
    QList<KeywordGroup> keywordGroups; // at most three

    TextStyle styleOf(StyleId id) const;

    static HighlighterDefinition For(Highlighter highlighter);
    // The blank, , ; : . ( ) { } [ ] = - * / ^ % < > # and the line break characters.
    static bool IsSymbolCharacter(char c);
};

// The named colours of the definitions.
namespace Colour {
inline constexpr quint32 Black = 0x000000;
inline constexpr quint32 Silver = 0xC0C0C0;
inline constexpr quint32 Blue = 0x0000FF;
inline constexpr quint32 Olive = 0x808000;
inline constexpr quint32 Red = 0xFF0000;
inline constexpr quint32 Teal = 0x008080;
inline constexpr quint32 Fuchsia = 0xFF00FF;
inline constexpr quint32 Green = 0x008000;
inline constexpr quint32 Navy = 0x000080;
inline constexpr quint32 White = 0xFFFFFF;
} // namespace Colour

} // namespace Velmora
