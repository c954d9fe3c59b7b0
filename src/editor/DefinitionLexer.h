#pragma once

#include "Highlighter.h"
#include "LineStyler.h"

#include <Qsci/qscilexercustom.h>

#include <QFont>

namespace Velmora {

// Colours the editor's text line by line through a LineStyler, and marks web addresses blue
// and underlined. Serves every highlighter, None included (then only the addresses are marked),
// so the text component always has the same fonts and the same marking.
class DefinitionLexer : public QsciLexerCustom {
    Q_OBJECT
public:
    // The two indicators that draw web addresses: the text blue, and a blue line under it.
    static constexpr int AddressTextIndicator = 8;
    static constexpr int AddressLineIndicator = 9;

    DefinitionLexer(Highlighter highlighter, const QFont &font, QObject *parent);

    Highlighter highlighter() const { return m_highlighter; }
    const char *language() const override;
    QString description(int style) const override;
    QColor defaultColor(int style) const override;
    QColor defaultPaper(int style) const override;
    QFont defaultFont(int style) const override;
    void styleText(int start, int end) override;

private:
    void markWebAddresses(long lineStart, long nextLineStart, const QByteArray &line);

    Highlighter m_highlighter;
    LineStyler m_styler;
    QFont m_font;
};

} // namespace Velmora
