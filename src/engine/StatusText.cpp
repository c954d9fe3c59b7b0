#include "StatusText.h"

#include "common/TextReplace.h"

namespace Velmora {

QString RewriteStatusText(const QString &text, const QString &currentItem)
{
    static const QString table[][2] = {
        {QStringLiteral(" wird aufgel\u00F6st."), QString()},
        {QStringLiteral("Verbinden mit"), QStringLiteral("Connect with")},
        {QStringLiteral("Verbunden"), QStringLiteral("Connected")},
        {QStringLiteral("Verbindung hergestellt"), QStringLiteral("Connection established")},
        {QStringLiteral("wird gestartet"), QStringLiteral("started")},
        {QStringLiteral("abgeschlossen"), QStringLiteral("finished")},
    };
    QString out = text;
    for (const auto &row : table)
        out = ReplaceAll(out, row[0], row[1], true);
    if (out.contains(QStringLiteral("completed")))
        out = currentItem + u' ' + out;
    out = ReplaceAll(out, QStringLiteral("Verbindung wird getrennt"), QStringLiteral("Connection will be terminated"), true);
    out = ReplaceAll(out, QStringLiteral("Verbindung aufgehoben"), QStringLiteral("Connection terminated"), true);
    return out;
}

bool IsStatusTextShown(const QString &rewritten)
{
    return !rewritten.contains(QStringLiteral("started"));
}

} // namespace Velmora
