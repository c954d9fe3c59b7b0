#pragma once

#include "common/Language.h"

#include <QString>
#include <QStringList>

namespace Velmora::FilterItemTexts {

// The items of the filter window's combo boxes, in index order. Only the indexes take part in
// the evaluation; the texts fill the boxes and make up the filter description.
QStringList places(Language::Id language);          // TermDir, WithoutTermDir
QStringList joiners(Language::Id language);         // AndDate, AndExtension, AndFileSize
QStringList dateTests(Language::Id language);       // DateIE
QStringList extensionTests(Language::Id language);  // ExtensionIE
QStringList sizeTests(Language::Id language);       // FileSizeIE

// Item index of items, or the empty text when index lies outside the list.
QString item(const QStringList &items, int index);

} // namespace Velmora::FilterItemTexts
