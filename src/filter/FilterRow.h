#pragma once

#include "common/Language.h"

#include <QString>
#include <QStringView>

namespace Velmora {

// One row of the filtered queue: the cells the filter window shows for a record of the filtered
// list. Source and Destination are words 2 and 3 of the command part, Size and Date words 3 and
// 4 of the entry part, unchanged ("RETR" rows hold the remote file as Source).
struct FilterRow {
    QString source;
    QString cmd;
    QString destination;
    QString size;
    QString date;

    bool operator==(const FilterRow &) const = default;
};

FilterRow FilterRowFromRecord(QStringView record);

// A row's size as a byte count; false when the cell is not a whole number.
bool FilterRowSize(QStringView size, qint64 &bytes);

// The file "Goto selected file" leads to: for an upload ("STOR") the local Source is the file the
// question names, for every other row the remote Source.
struct ChosenFile {
    QString local;
    QString remote;
    QString asked; // the path the question "Goto: " shows
};
ChosenFile ChosenFileOf(const FilterRow &row);

// "Filtered queue - 3 Files - 1.234 bytes", the summary after each evaluation.
QString FilteredQueueSummary(qsizetype rows, qint64 bytes, Language::Id language);

} // namespace Velmora
