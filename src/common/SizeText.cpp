#include "SizeText.h"

#include <cmath>
#include <limits>

namespace Velmora {

namespace {

QString groupDigits(const QString &digits, QChar separator)
{
    QString out;
    const qsizetype n = digits.size();
    out.reserve(n + n / 3);
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}

} // namespace

QString FormatSizeDots(const QString &text, bool pad)
{
    QString digits;
    for (QChar c : text.trimmed()) {
        if (c != u'-' && c != u'.')
            digits += c;
    }
    qsizetype firstNonZero = 0;
    while (firstNonZero < digits.size() && digits[firstNonZero] == u'0')
        ++firstNonZero;
    digits = digits.mid(firstNonZero);
    if (digits.isEmpty())
        digits = QStringLiteral("0");
    QString out = groupDigits(digits, u'.');
    if (pad)
        out += QStringLiteral("    ");
    return out;
}

QString FormatTwoDecimals(double value)
{
    const qint64 hundredths = qint64(std::llround(value * 100.0));
    const qint64 whole = hundredths / 100;
    const int fraction = int(hundredths % 100);
    return groupDigits(QString::number(whole), u',') + u'.' + QString::number(fraction).rightJustified(2, u'0');
}

QString FormatSizeLong(qint64 bytes)
{
    const QString d = groupDigits(QString::number(bytes < 0 ? 0 : bytes), u'.');
    constexpr double kB = 1024.0;
    if (bytes < 1024)
        return d + QStringLiteral("  bytes");
    if (bytes < 1048576)
        return d + QStringLiteral("  bytes  (") + FormatTwoDecimals(double(bytes) / kB) + QStringLiteral(" kB)");
    if (bytes < 1073741824)
        return d + QStringLiteral("  bytes  (") + FormatTwoDecimals(double(bytes) / (kB * kB)) + QStringLiteral(" MB)");
    return d + QStringLiteral("  bytes  (") + FormatTwoDecimals(double(bytes) / (kB * kB * kB)) + QStringLiteral(" GB)");
}

QString FormatSizeKB(const QString &decimalText)
{
    bool ok = false;
    const qint64 n = decimalText.trimmed().toLongLong(&ok);
    // Sizes of 2 GiB and more are shown too: only a text that is no whole number gives "-".
    if (!ok)
        return QStringLiteral("- kB");
    return FormatTwoDecimals(double(n) / 1024.0) + QStringLiteral(" kB");
}

} // namespace Velmora
