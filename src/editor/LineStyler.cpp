#include "LineStyler.h"

namespace Velmora {

namespace {

void addRun(QList<StyleRun> &runs, qsizetype start, qsizetype length, StyleId style)
{
    if (length <= 0)
        return;
    if (!runs.isEmpty() && runs.last().style == style && runs.last().start + runs.last().length == start) {
        runs.last().length += length;
        return;
    }
    runs.append({start, length, style});
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

LineStyler::LineStyler(HighlighterDefinition definition)
    : m_definition(std::move(definition))
{
}

StyleId LineStyler::keywordStyle(QByteArrayView word) const
{
    const QByteArray upper = word.toByteArray().toUpper();
    for (qsizetype g = 0; g < m_definition.keywordGroups.size() && g < 3; ++g) {
        if (m_definition.keywordGroups[g].words.contains(upper))
            return static_cast<StyleId>(static_cast<int>(StyleId::Keywords1) + g);
    }
    return StyleId::Default;
}

StyleId LineStyler::wordStyle(QByteArrayView word) const
{
    if (isDigit(word.front()))
        return StyleId::Number;
    if (m_definition.dollarStartsHexNumber && word.front() == '$' && word.size() > 1) {
        bool hex = true;
        for (char c : word.sliced(1))
            hex = hex && isHexDigit(c);
        if (hex)
            return StyleId::Number;
    }
    return keywordStyle(word);
}

bool LineStyler::startsComment(QByteArrayView line, qsizetype pos) const
{
    const QByteArrayView rest = line.sliced(pos);
    return (!m_definition.blockCommentOpen.isEmpty() && rest.startsWith(m_definition.blockCommentOpen))
        || (!m_definition.lineComment.isEmpty() && rest.startsWith(m_definition.lineComment));
}

QList<StyleRun> LineStyler::styleLine(QByteArrayView line, bool &inBlockComment) const
{
    QList<StyleRun> runs;
    const qsizetype n = line.size();
    if (!m_definition.colouring) {
        addRun(runs, 0, n, StyleId::Default);
        return runs;
    }
    const HighlighterDefinition &d = m_definition;
    qsizetype pos = 0;
    while (pos < n) {
        if (inBlockComment) {
            const qsizetype close = line.indexOf(d.blockCommentClose, pos);
            const qsizetype end = close < 0 ? n : close + d.blockCommentClose.size();
            addRun(runs, pos, end - pos, StyleId::Comment);
            inBlockComment = close < 0;
            pos = end;
            continue;
        }
        const QByteArrayView rest = line.sliced(pos);
        if (!d.blockCommentOpen.isEmpty() && rest.startsWith(d.blockCommentOpen)) {
            addRun(runs, pos, d.blockCommentOpen.size(), StyleId::Comment);
            pos += d.blockCommentOpen.size();
            inBlockComment = true;
            continue;
        }
        if (!d.lineComment.isEmpty() && rest.startsWith(d.lineComment)) {
            addRun(runs, pos, n - pos, StyleId::Comment);
            break;
        }
        const char c = line[pos];
        const bool single = c == '\'' && d.singleQuotedStrings;
        const bool dbl = c == '"' && d.doubleQuotedStrings;
        if (single || dbl) {
            const qsizetype close = line.indexOf(c, pos + 1);
            const qsizetype end = close < 0 ? n : close + 1;
            addRun(runs, pos, end - pos, single ? StyleId::SingleQuoted : StyleId::DoubleQuoted);
            pos = end;
            continue;
        }
        if (HighlighterDefinition::IsSymbolCharacter(c)) {
            const StyleId keyword = keywordStyle(line.sliced(pos, 1));
            addRun(runs, pos, 1, keyword == StyleId::Default ? StyleId::Symbol : keyword);
            ++pos;
            continue;
        }
        if (c == '\t') {
            addRun(runs, pos, 1, StyleId::Default);
            ++pos;
            continue;
        }
        qsizetype end = pos + 1;
        while (end < n) {
            const char e = line[end];
            if (HighlighterDefinition::IsSymbolCharacter(e) || e == '\t' || (e == '\'' && d.singleQuotedStrings)
                || (e == '"' && d.doubleQuotedStrings) || startsComment(line, end))
                break;
            ++end;
        }
        addRun(runs, pos, end - pos, wordStyle(line.sliced(pos, end - pos)));
        pos = end;
    }
    return runs;
}

} // namespace Velmora
