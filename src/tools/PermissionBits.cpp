#include "PermissionBits.h"

namespace Velmora {

PermissionBits PermissionBits::fromPermissionString(const QString &text)
{
    PermissionBits result;
    for (int bit = 0; bit < 9; ++bit) {
        const qsizetype position = bit + 1; // character 1 is the entry type
        result[bit] = position >= text.size() || text.at(position) != u'-';
    }
    return result;
}

QString PermissionBits::valueText() const
{
    QString value;
    for (int group = 0; group < 3; ++group) {
        const int digit = (bits[size_t(group * 3)] ? 4 : 0) + (bits[size_t(group * 3 + 1)] ? 2 : 0)
            + (bits[size_t(group * 3 + 2)] ? 1 : 0);
        value += QChar(u'0' + digit);
    }
    return value;
}

PermissionValueResult ApplyPermissionValue(const QString &valueText, const PermissionBits &current)
{
    PermissionValueResult result;
    result.bits = current;
    const QString text = valueText.trimmed();
    if (text.size() < 3 || text.size() > 4)
        return result;
    result.applied = true;
    for (int position = 0; position < text.size(); ++position) {
        const QChar c = text.at(position);
        if (c < u'0' || c > u'9') {
            result.error = QStringLiteral("'") + text + QStringLiteral("' is not a valid permission value");
            return result;
        }
        const int group = position - int(text.size() - 3); // the special-bits digit has none
        if (group < 0)
            continue;
        const QString binary = QString::number(c.unicode() - u'0', 2).rightJustified(3, u'0');
        for (int i = 0; i < 3; ++i)
            result.bits[group * 3 + i] = binary.at(i) == u'1';
    }
    return result;
}

QString SpecialPermissionDigit(const QString &valueText)
{
    const QString text = valueText.trimmed();
    return text.size() == 4 ? text.left(1) : QString();
}

bool IsCompletePermissionValue(const QString &value)
{
    if (value.size() != 3 && value.size() != 4)
        return false;
    for (QChar c : value) {
        if (c < u'0' || c > u'7')
            return false;
    }
    return true;
}

QString IncompletePermissionValueText(const QString &value, bool german)
{
    return german ? QString::fromUtf8("\"%1\" ist kein vollständiger Berechtigungswert. Bitte geben Sie drei Ziffern von 0 "
                                      "bis 7 ein (vier mit den Sonderrechten), zum Beispiel 755. Es wurde nichts geändert.")
                        .arg(value)
                  : QStringLiteral("\"%1\" is not a complete permission value. Please enter three digits from 0 to 7 (four "
                                   "with the special bits), for example 755. Nothing was changed.")
                        .arg(value);
}

} // namespace Velmora
