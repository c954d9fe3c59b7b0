#include "FilterPreparation.h"

#include "FilterItemTexts.h"
#include "common/Word.h"

namespace Velmora {

namespace {

bool blank(const QString &text)
{
    return text.trimmed().isEmpty();
}

bool inList(int index, int count)
{
    return index >= 0 && index < count;
}

FilterMessage outsideListNote(const QString &key, int index)
{
    const QString number = QString::number(index);
    return {QStringLiteral("Filter: \"") + key + QStringLiteral("\" has the index ") + number
                + QStringLiteral(", which is not in its list; the criterion takes no part in the evaluation."),
            QStringLiteral("Filter: \"") + key + QStringLiteral("\" hat den Index ") + number
                + QString::fromUtf8(", der nicht in seiner Liste steht; das Kriterium wird bei der Auswertung nicht berücksichtigt.")};
}

FilterMessage joinerOutsideListNote(const QString &key, int index)
{
    const QString number = QString::number(index);
    return {QStringLiteral("Filter: \"") + key + QStringLiteral("\" has the index ") + number
                + QStringLiteral(", which is not in its list; it joins with \"or\"."),
            QStringLiteral("Filter: \"") + key + QStringLiteral("\" hat den Index ") + number
                + QStringLiteral(", der nicht in seiner Liste steht; es wird mit \"oder\" verknüpft.")};
}

FilterMessage unreadableFilterDateNote(const QString &date, int dateTest)
{
    return {QStringLiteral("Filter: the date \"") + date + QStringLiteral("\" cannot be read as a date; no record matches \"")
                + FilterItemTexts::item(FilterItemTexts::dateTests(Language::English), dateTest) + QStringLiteral("\"."),
            QStringLiteral("Filter: das Datum \"") + date
                + QStringLiteral("\" kann nicht als Datum gelesen werden; kein Eintrag erfüllt \"")
                + FilterItemTexts::item(FilterItemTexts::dateTests(Language::German), dateTest) + QStringLiteral("\".")};
}

// Whether a set criterion can take part: its test index must be in its list.
bool takesPart(bool set, const QString &key, int index, int count, QList<FilterMessage> &notes)
{
    if (!set)
        return false;
    if (inList(index, count))
        return true;
    notes.append(outsideListNote(key, index));
    return false;
}

// "and" for index 1; "or" for 0 and, with a note, for any index outside the list.
bool joinsWithAnd(bool matters, const QString &key, int index, QList<FilterMessage> &notes)
{
    if (matters && !inList(index, FilterCriteria::JoinerCount))
        notes.append(joinerOutsideListNote(key, index));
    return index == FilterCriteria::And;
}

} // namespace

PreparedFilter PrepareFilter(FilterCriteria &criteria, bool searchesInFiles)
{
    FilterCriteria &c = criteria;
    if (blank(c.term) && blank(c.date) && blank(c.extension) && blank(c.fileSize))
        c.term = FilterCriteria::AllFiles;
    if ((!blank(c.date) || !blank(c.extension) || !blank(c.fileSize)) && c.term == FilterCriteria::AllFiles)
        c.term.clear();
    if (c.term.size() != 3)
        c.term.remove(FilterCriteria::AllFiles, Qt::CaseInsensitive);
    if (c.date.contains(u'|'))
        c.date = Word(1, c.date, u"|").trimmed();

    PreparedFilter p;
    p.term = LowerAscii(c.term);
    p.without = LowerAscii(c.withoutTerm);
    p.dateText = LowerAscii(c.date);
    p.extList = LowerAscii(c.extension).remove(u'*');
    if (!p.extList.startsWith(u'.'))
        p.extList.prepend(u'.');
    if (p.extList == u".")
        p.extList.clear();
    p.sizeList = c.fileSize;

    if (p.dateText.isEmpty())
        c.andDate = FilterCriteria::Or;
    if (p.extList.isEmpty())
        c.andExtension = FilterCriteria::Or;
    if (p.sizeList.isEmpty())
        c.andFileSize = FilterCriteria::Or;
    if (p.term.isEmpty() && p.without.isEmpty())
        c.andDate = FilterCriteria::Or;
    if (searchesInFiles) {
        const bool termSet = !p.term.isEmpty() || !p.without.isEmpty();
        c.andExtension = termSet && !p.extList.isEmpty() ? FilterCriteria::And : FilterCriteria::Or;
    }

    p.allFiles = p.term == FilterCriteria::AllFiles;
    p.termPlace = c.termDir;
    p.withoutPlace = c.withoutTermDir;
    p.dateTest = c.dateIE;
    p.extensionTest = c.extensionIE;
    p.sizeTest = c.fileSizeIE;
    // "*.*" needs no place to look in, so its index does not matter.
    p.termTakesPart = !p.term.isEmpty()
        && (p.allFiles
            || takesPart(true, QStringLiteral("TermDir"), c.termDir, FilterCriteria::PlaceCount, p.notes));
    p.withoutTakesPart = takesPart(!p.without.isEmpty(), QStringLiteral("WithoutTermDir"), c.withoutTermDir,
                                   FilterCriteria::PlaceCount, p.notes);
    p.dateTakesPart = takesPart(!p.dateText.isEmpty(), QStringLiteral("DateIE"), c.dateIE,
                                FilterCriteria::DateTestCount, p.notes);
    p.extensionTakesPart = takesPart(!p.extList.isEmpty(), QStringLiteral("ExtensionIE"), c.extensionIE,
                                     FilterCriteria::ExtensionTestCount, p.notes);
    p.sizeTakesPart = takesPart(!p.sizeList.isEmpty(), QStringLiteral("FileSizeIE"), c.fileSizeIE,
                                FilterCriteria::SizeTestCount, p.notes);
    p.andDate = joinsWithAnd(p.dateTakesPart, QStringLiteral("AndDate"), c.andDate, p.notes);
    p.andExtension = joinsWithAnd(p.extensionTakesPart, QStringLiteral("AndExtension"), c.andExtension, p.notes);
    p.andFileSize = joinsWithAnd(p.sizeTakesPart, QStringLiteral("AndFileSize"), c.andFileSize, p.notes);

    const bool termLooks = p.termTakesPart && !p.allFiles;
    p.needsName = (termLooks && p.termPlace == FilterCriteria::InFilename)
        || (p.withoutTakesPart && p.withoutPlace == FilterCriteria::InFilename) || p.extensionTakesPart;
    p.needsHead = (termLooks && p.termPlace == FilterCriteria::InDirectoryAndFilename)
        || (p.withoutTakesPart && p.withoutPlace == FilterCriteria::InDirectoryAndFilename);
    p.needsDate = (termLooks && p.termPlace == FilterCriteria::InFiledate)
        || (p.withoutTakesPart && p.withoutPlace == FilterCriteria::InFiledate) || p.dateTakesPart;

    p.termActive = termLooks;
    p.withoutActive = p.withoutTakesPart;
    p.dateActive = p.dateTakesPart;
    p.extensionActive = p.extensionTakesPart;
    p.sizeActive = p.sizeTakesPart;

    if (!p.allFiles)
        p.termWords = FilterWords(p.term);
    p.withoutWords = FilterWords(p.without);
    p.dateWords = FilterWords(p.dateText);
    p.extensionWords = FilterWords(p.extList);
    p.sizeLimits = SizeLimits(p.sizeList);
    if (p.dateTakesPart) {
        // The day itself, so that records compare by day whichever format wrote them (the
        // picker writes the user's format, server listings "dd.mm.yyyy").
        p.filterDay = ReadDay(Word(1, p.dateText, u"|"));
        const bool needsDay = p.dateTest == FilterCriteria::DateSince || p.dateTest == FilterCriteria::DateBefore;
        if (needsDay && !p.filterDay.isValid())
            p.notes.append(unreadableFilterDateNote(c.date, p.dateTest));
    }
    return p;
}

} // namespace Velmora
