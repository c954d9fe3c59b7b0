#include "FilterItemTexts.h"

namespace Velmora::FilterItemTexts {

namespace {

QStringList pick(Language::Id language, QStringList english, QStringList german)
{
    return language == Language::German ? german : english;
}

} // namespace

QStringList places(Language::Id language)
{
    return pick(language,
                {QStringLiteral("in Filename"), QStringLiteral("in Directory and Filename"), QStringLiteral("in Filedate")},
                {QStringLiteral("im Dateinamen"), QStringLiteral("im Ordner und Dateinamen"), QStringLiteral("im Dateidatum")});
}

QStringList joiners(Language::Id language)
{
    return pick(language, {QStringLiteral("or"), QStringLiteral("and")}, {QStringLiteral("oder"), QStringLiteral("und")});
}

QStringList dateTests(Language::Id language)
{
    return pick(language,
                {QStringLiteral("All with Date"), QStringLiteral("Without specified date"), QStringLiteral("Date since"),
                 QStringLiteral("Date before")},
                {QStringLiteral("Alle mit dem Datum"), QStringLiteral("Alle ohne dem Datum"), QStringLiteral("Datum seit"),
                 QStringLiteral("vor dem Datum")});
}

QStringList extensionTests(Language::Id language)
{
    return pick(language, {QStringLiteral("All with Extension"), QStringLiteral("All without Extension")},
                {QStringLiteral("Alle mit Erweiterung"), QStringLiteral("Alle ohne Erweiterung")});
}

QStringList sizeTests(Language::Id language)
{
    // The first English item ends with a blank, as the window has always shown it.
    return pick(language,
                {QStringLiteral("Size less "), QStringLiteral("Size greater or equal"), QStringLiteral("Size equal")},
                {QString::fromUtf8("Dateigröße kleiner als"), QString::fromUtf8("Dateigröße größer gleich"),
                 QString::fromUtf8("Dateigröße ist gleich")});
}

QString item(const QStringList &items, int index)
{
    return index >= 0 && index < items.size() ? items.at(index) : QString();
}

} // namespace Velmora::FilterItemTexts
