#pragma once

#include "HighlighterDefinition.h"

#include <QByteArrayView>
#include <QList>

namespace Velmora {

// A piece of a line in one style; positions are byte offsets into the line.
struct StyleRun {
    qsizetype start = 0;
    qsizetype length = 0;
    StyleId style = StyleId::Default;

    bool operator==(const StyleRun &) const = default;
};

// Splits one line of (UTF-8 or 8-bit) text into styled runs by a highlighter definition. Block
// comments may go on over several lines: the flag carries that from one line to the next.
//
// At each position, in this order: a block comment, a line comment, a quoted string (to the
// closing quote or the end of the line), a symbol character (in a keyword group's style when
// that character is itself one of its keywords), or a word: the run up to the next symbol,
// quote, tab or comment start. A word that starts with a digit, or with "$" and hex digits
// where "$" starts a hexadecimal number, is a number; a word of a keyword group gets that
// group's style.
class LineStyler {
public:
    explicit LineStyler(HighlighterDefinition definition);

    const HighlighterDefinition &definition() const { return m_definition; }

    // The runs cover the whole line, in order; neighbouring runs have different styles.
    QList<StyleRun> styleLine(QByteArrayView line, bool &inBlockComment) const;

private:
    StyleId keywordStyle(QByteArrayView word) const;
    StyleId wordStyle(QByteArrayView word) const;
    bool startsComment(QByteArrayView line, qsizetype pos) const;

    HighlighterDefinition m_definition;
};

} // namespace Velmora
