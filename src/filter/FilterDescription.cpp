#include "FilterDescription.h"

#include "FilterItemTexts.h"

namespace Velmora {

namespace {

QString quoted(const QString &text)
{
    return u'\'' + text + u'\'';
}

QString pick(int index, std::initializer_list<const char16_t *> ops)
{
    if (index < 0 || index >= int(ops.size()))
        return {};
    return QString::fromUtf16(*(ops.begin() + index));
}

} // namespace

QString DescribeFilter(const FilterCriteria &criteria, Language::Id language)
{
    using namespace FilterItemTexts;
    const bool german = language == Language::German;
    const QString term = criteria.term.trimmed();
    const QString without = criteria.withoutTerm.trimmed();
    const QString date = criteria.date.trimmed();
    const QString extension = criteria.extension.trimmed();
    const QString fileSize = criteria.fileSize.trimmed();

    QString description;
    if (!term.isEmpty())
        description += u'(' + quoted(term) + u' ' + item(places(language), criteria.termDir) + QStringLiteral(") ");
    if (!without.isEmpty())
        description += (german ? QStringLiteral("und(") : QStringLiteral("and ("))
            + quoted(without) + u' ' + item(places(language), criteria.withoutTermDir) + QStringLiteral(") ");
    if (!date.isEmpty())
        description += item(joiners(language), criteria.andDate) + u' '
            + (german ? QStringLiteral("(Datum") : QStringLiteral("(Date"))
            + pick(criteria.dateIE, {u"=", u"<>", u">=", u"<"}) + quoted(date) + QStringLiteral(") ");
    if (!extension.isEmpty())
        description += item(joiners(language), criteria.andExtension) + u' '
            + (german ? QStringLiteral("(Erweiterung") : QStringLiteral("(Extension"))
            + pick(criteria.extensionIE, {u"=", u"<>"}) + quoted(extension) + QStringLiteral(") ");
    if (!fileSize.isEmpty())
        description += item(joiners(language), criteria.andFileSize) + u' '
            + (german ? QStringLiteral("(Dateigröße") : QStringLiteral("(Filesize"))
            + pick(criteria.fileSizeIE, {u"<", u">", u"="}) + quoted(fileSize) + QStringLiteral(") ");

    const qsizetype blank = description.indexOf(u' ');
    const QStringView first = QStringView(description).left(blank < 0 ? description.size() : blank);
    if (blank >= 0
        && (first == u"and" || first == u"or" || first == u"und" || first == u"oder"))
        description.remove(0, blank + 1);
    // The German without-piece is written "und(" with no blank, so the rule above cannot see its
    // joining word when it comes first; the description then starts with its bracket, as in English.
    else if (description.startsWith(QStringLiteral("und(")))
        description.remove(0, 3);
    return description;
}

FilterLabelFont FilterLabelFontFor(const QString &description)
{
    const qsizetype length = description.size();
    if (length > 150)
        return {7, false};
    if (length > 120)
        return {8, false};
    if (length > 80)
        return {10, true};
    if (length > 50)
        return {11, true};
    return {12, true};
}

} // namespace Velmora
