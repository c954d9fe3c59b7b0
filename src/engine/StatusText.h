#pragma once

#include <QString>

namespace Velmora {

// The status handler's rewriting of a status text of the FTP client: German texts of older
// client layers become English (" wird aufgelöst." removed, "Verbinden mit" "Connect with",
// "Verbunden" "Connected", "Verbindung hergestellt" "Connection established", "wird gestartet"
// "started", "abgeschlossen" "finished", in that order, ignoring case); a text containing
// "completed" is prefixed with the current item and a blank; then "Verbindung wird getrennt"
// becomes "Connection will be terminated" and "Verbindung aufgehoben" "Connection terminated".
QString RewriteStatusText(const QString &text, const QString &currentItem);

// A rewritten text that announces the start of something ("started") is never written.
bool IsStatusTextShown(const QString &rewritten);

} // namespace Velmora
