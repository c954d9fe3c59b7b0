#pragma once

#include "FilterCriteria.h"
#include "FilterMatching.h"
#include "FilterMessage.h"

#include <QDate>
#include <QList>
#include <QString>

namespace Velmora {

// The criteria made ready for one evaluation: the working values, the groups the window marks
// "ACTIVE", and everything the evaluation of a record needs, read once so that a long queue list
// is not split and parsed again for every record.
struct PreparedFilter {
    // Working values: lower-cased, not trimmed; extList with its "*" removed and one leading ".".
    QString term;
    QString without;
    QString dateText;
    QString extList;
    QString sizeList;

    // The groups the window marks "ACTIVE".
    bool termActive = false;
    bool withoutActive = false;
    bool dateActive = false;
    bool extensionActive = false;
    bool sizeActive = false;

    // Protocol lines about criteria that cannot be used as they stand.
    QList<FilterMessage> notes;

    // Read by the evaluation. A criterion "takes part" when its working value is set and its
    // test index lies inside its list; one that does not is treated as empty.
    bool allFiles = false;
    bool termTakesPart = false;
    bool withoutTakesPart = false;
    bool dateTakesPart = false;
    bool extensionTakesPart = false;
    bool sizeTakesPart = false;
    int termPlace = FilterCriteria::InFilename;
    int withoutPlace = FilterCriteria::InFilename;
    int dateTest = FilterCriteria::AllWithDate;
    int extensionTest = FilterCriteria::AllWithExtension;
    int sizeTest = FilterCriteria::SizeLess;
    bool andDate = false;
    bool andExtension = false;
    bool andFileSize = false;
    FilterWords termWords;
    FilterWords withoutWords;
    FilterWords dateWords;
    FilterWords extensionWords;
    QList<qint64> sizeLimits;
    QDate filterDay; // the day Date names; invalid when Date cannot be read as a day

    // Which facts of a record the tests look at.
    bool needsName = false;
    bool needsHead = false;
    bool needsDate = false;
};

// Prepares the criteria before every evaluation. It changes them the way the window then shows
// them: "*.*" put into an otherwise empty filter or taken out of a term that does not need it,
// the date cut at its first "|", joiners of empty criteria set back to "or". searchesInFiles is
// set for the two searches in files (their extension joins with "and" whenever a term is set).
PreparedFilter PrepareFilter(FilterCriteria &criteria, bool searchesInFiles);

} // namespace Velmora
