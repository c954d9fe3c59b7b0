#include "ReplaceMode.h"

#include "common/Language.h"

namespace Velmora {

QString ReplaceModeCaption(ReplaceMode mode, bool german)
{
    switch (mode) {
    case ReplaceMode::ReplaceTerm:
        return german ? QStringLiteral("Suchen und Ersetzen") : QStringLiteral("Search and replace a term");
    case ReplaceMode::ReplaceFile:
        return german ? QStringLiteral("Suchen und Ersetzen durch eine andere Datei")
                      : QStringLiteral("Replace files by another file");
    case ReplaceMode::InsertAfterTerm:
        return german ? QStringLiteral("Zeilen nach dem Suchbegriff einfügen") : QStringLiteral("Insert lines after a term");
    case ReplaceMode::InsertBeforeTerm:
        return german ? QStringLiteral("Zeilen vor dem Suchbegriff einfügen") : QStringLiteral("Insert lines before a term");
    case ReplaceMode::InsertAtBeginning:
        return german ? QStringLiteral("Zeilen am Anfang der Datei einfügen")
                      : QStringLiteral("Insert lines at the beginning of the files");
    case ReplaceMode::InsertAtEnd:
        return german ? QStringLiteral("Zeilen am Ende der Datei einfügen") : QStringLiteral("Insert lines at the end of the files");
    }
    return {};
}

QString ReplaceModeCaption(ReplaceMode mode, const Language &language)
{
    return ReplaceModeCaption(mode, language.isGerman());
}

} // namespace Velmora
