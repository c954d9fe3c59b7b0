#include "BackupIndex.h"

#include "common/Language.h"

namespace Velmora {

namespace {

QString firstLineAndDots(const QStringList &lines)
{
    return (lines.isEmpty() ? QString() : lines.first()) + QStringLiteral("...");
}

} // namespace

BackupOperation BackupOperation::forReplace(ReplaceMode mode, const Language &language, const QString &term,
                                            const QString &replacement, const QString &sourceFile,
                                            const QStringList &termLines, const QStringList &edgeLines)
{
    BackupOperation operation;
    operation.caption = ReplaceModeCaption(mode, language);
    switch (mode) {
    case ReplaceMode::ReplaceTerm:
        operation.detail1 = term;
        operation.detail2 = replacement;
        break;
    case ReplaceMode::ReplaceFile:
        operation.detail1 = sourceFile;
        operation.detail2 = QStringLiteral(" ");
        break;
    case ReplaceMode::InsertAfterTerm:
    case ReplaceMode::InsertBeforeTerm:
        operation.detail1 = term;
        operation.detail2 = firstLineAndDots(termLines);
        break;
    case ReplaceMode::InsertAtBeginning:
    case ReplaceMode::InsertAtEnd:
        operation.detail1 = QStringLiteral(" ");
        operation.detail2 = firstLineAndDots(edgeLines);
        break;
    }
    return operation;
}

BackupOperation BackupOperation::forEditor(const Language &language, const QString &fileName)
{
    return {language.text(QStringLiteral("Edited by editor"), QStringLiteral("Bearbeitet mit dem Editor")), fileName,
            QStringLiteral(" ")};
}

QStringList BackupIndex::lines() const
{
    return {time, kind, operation, detail1, detail2, backupPath, destinationPath};
}

BackupIndex BackupIndex::fromLines(const QStringList &lines)
{
    const auto line = [&lines](int index) { return index < lines.size() ? lines.at(index) : QString(); };
    return {line(0), line(1), line(2), line(3), line(4), line(5), line(6)};
}

} // namespace Velmora
