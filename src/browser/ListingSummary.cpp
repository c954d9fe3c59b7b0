#include "ListingSummary.h"

#include "common/Language.h"
#include "common/SizeText.h"

namespace Velmora {

QString ListingSummary::statusText(const Language *language) const
{
    const bool german = language && language->isGerman();
    const QString fileWord = german ? (files == 1 ? QStringLiteral("Datei") : QStringLiteral("Dateien"))
                                    : (files == 1 ? QStringLiteral("File") : QStringLiteral("Files"));
    const QString folderWord = german ? QStringLiteral("Ordner")
                                      : (folders == 1 ? QStringLiteral("Directory") : QStringLiteral("Directories"));
    return u' ' + QString::number(files) + u' ' + fileWord + (german ? QStringLiteral(" und ") : QStringLiteral(" and "))
        + QString::number(folders) + u' ' + folderWord
        + (german ? QString::fromUtf8(". Gesamtgröße: ") : QStringLiteral(". Total Size: ")) + FormatSizeLong(totalSize);
}

} // namespace Velmora
