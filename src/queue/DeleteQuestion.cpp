#include "DeleteQuestion.h"

namespace Velmora {

QString DeleteQuestionText(int files, int folders, bool german)
{
    // German has no lead-in: the verb follows each count instead.
    const QString lead = german ? QString() : QStringLiteral("Really delete ");
    const QString fileWord = german ? (files < 2 ? QStringLiteral("Datei löschen") : QStringLiteral("Dateien löschen"))
                                    : (files < 2 ? QStringLiteral("File") : QStringLiteral("Files"));
    const QString folderWord = german ? QStringLiteral("Ordner")
                                      : (folders < 2 ? QStringLiteral("Directory") : QStringLiteral("Directories"));
    const QString filesText = QString::number(files) + u' ' + fileWord;
    const QString foldersText = QString::number(folders) + u' ' + folderWord;
    const QString withContents = german ? QStringLiteral(" mit Inhalt löschen") : QStringLiteral(" with contents");
    const QString andText = german ? QStringLiteral(" und ") : QStringLiteral(" and ");

    if (files > 0 && folders > 0)
        return lead + filesText + andText + foldersText + withContents + u'?';
    if (folders > 0)
        return lead + foldersText + withContents + u'?';
    return lead + filesText + u'?';
}

} // namespace Velmora
