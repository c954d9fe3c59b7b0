#pragma once

#include "FilterMessage.h"
#include "common/Language.h"

#include <QList>
#include <QString>

namespace Velmora {

class ProtocolLog;

// What every evaluation leaves behind: its notes as protocol error lines (in the current
// language) and, with "Write logfiles" on, the description as the only line of "filter.log" in
// the application data folder.
void ReportFilterEvaluation(ProtocolLog &protocol, Language::Id language, bool writeLogfiles,
                            const QString &description, const QList<FilterMessage> &notes);

} // namespace Velmora
