#include "MainFormTexts.h"

#include "common/Language.h"

namespace Velmora {

QString MainFormTexts::keyHelpLine(const Language &language)
{
    return language.text(
        QStringLiteral("Help [F1] - View/Edit [F4] - Upload/Download [F5] - Rename [F6] - Create Directory [F7] - "
                       "Delete [F8] - Permission [F11] - Connetions [F12] - Options [Alt+O]"),
        QStringLiteral("Hilfe [F1] - Anzeigen/Bearbeiten [F4] - Hoch-/Herunterladen [F5] - Umbenennen [F6] - "
                       "Ordner erstellen [F7] - Löschen [F8] - Berechtigung [F11] - Verbindungen [F12] - Optionen [Alt+O]"));
}

} // namespace Velmora
