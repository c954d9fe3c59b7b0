#include "ImportText.h"

#include "common/TextCodec.h"
#include "common/TextReplace.h"

namespace Velmora {

namespace {

QString bytes(const char *raw)
{
    return TextCodec::DecodeWindows1252(QByteArray(raw));
}

} // namespace

QString RepairGermanLetters(const QString &text)
{
    struct Repair {
        QString found;
        QString replacement;
    };
    // In this order: later rules see the results of earlier ones.
    static const Repair repairs[] = {
        {bytes("\xC3\x9C"), bytes("\xDC")}, // Ü
        {bytes("\xC3\xBC"), bytes("\xFC")}, // ü
        {bytes("\xC3\x84"), bytes("\xC4")}, // Ä
        {bytes("\xC3\x22"), bytes("\xC4")}, // Ä
        {bytes("\xC3\xA4"), bytes("\xE4")}, // ä
        {bytes("\xC3\xFB"), bytes("\xD6")}, // Ö
        {bytes("\xC3\x96"), bytes("\xD6")}, // Ö
        {bytes("\xC3\xB6"), bytes("\xF6")}, // ö
        {bytes("\xC3\x9F"), bytes("\xDF")}, // ß
        {bytes("\x80"), QStringLiteral("Euro")},
        {bytes("\xE2\x82"), QStringLiteral("Euro")},
    };
    QString out = text;
    for (const Repair &repair : repairs)
        out = ReplaceAll(out, repair.found, repair.replacement);
    return out;
}

QString RemoveAll(const QString &text, const QString &tag)
{
    return ReplaceAll(text, tag, QString(), true);
}

QString Trim(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start].unicode() <= u' ')
        ++start;
    while (end > start && text[end - 1].unicode() <= u' ')
        --end;
    return text.mid(start, end - start);
}

QStringList ImportLines(const QByteArray &bytes)
{
    return TextCodec::SplitLines(TextCodec::DecodeWindows1252(bytes));
}

} // namespace Velmora
