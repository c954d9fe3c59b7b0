#include "UnattendedOverwriteQuestion.h"

#include "OverwritePolicy.h"

#include "app/AppContext.h"
#include "app/UserPrompts.h"

namespace Velmora {

UnattendedOverwriteQuestion::UnattendedOverwriteQuestion(AppContext &context)
    : m_context(context)
{
}

bool UnattendedOverwriteQuestion::askOverwrite(const QString &targetPath, OverwritePolicy &policy)
{
    policy.applyQuestionState(false, true, false, false);
    m_context.prompts.information(
        m_context.text(QStringLiteral("The target file allready exists: %1. Skipped: nobody can answer during a batch job."),
                       QString::fromUtf8("Die Zieldatei existiert bereits: %1. Übersprungen: während eines Batchjobs kann "
                                         "niemand antworten."))
            .arg(targetPath));
    return true;
}

} // namespace Velmora
