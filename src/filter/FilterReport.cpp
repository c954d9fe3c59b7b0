#include "FilterReport.h"

#include "FilterDescription.h"
#include "app/ProtocolLog.h"

namespace Velmora {

void ReportFilterEvaluation(ProtocolLog &protocol, Language::Id language, bool writeLogfiles,
                            const QString &description, const QList<FilterMessage> &notes)
{
    for (const FilterMessage &note : notes)
        protocol.AddProtocolMessage(ProtocolEntry::Error, note.text(language));
    if (writeLogfiles)
        protocol.WriteLogFile(FilterLogFileName, {description});
}

} // namespace Velmora
