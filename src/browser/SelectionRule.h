#pragma once

#include "common/ListingEntry.h"

#include <QList>
#include <QString>

namespace Velmora {

class Language;

// The selection rules every grid command checks before it acts.
enum class SelectionRule {
    AFile = 0,               // the focused selected row is not a folder
    AFileOrDirectory = 1,    // a selected row other than ".."
    MinimumOneFile = 2,      // a selected file
    MinimumOneDirectory = 3, // a selected folder other than ".."
};

struct SelectedRow {
    EntryKind kind = EntryKind::File;
    QString name;
};

// Whether the rule is met by the selected rows; focused is the row with the keyboard focus among
// them (null: the first selected row).
bool IsSelectionRuleMet(SelectionRule rule, const QList<SelectedRow> &selected, const SelectedRow *focused = nullptr);
// The message of the information box shown when the rule is not met.
QString SelectionRuleMessage(SelectionRule rule, const Language *language);

} // namespace Velmora
