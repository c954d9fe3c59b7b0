#include "OverwritePolicy.h"

namespace Velmora {

void OverwritePolicy::applyAllwaysOverwrite(bool on)
{
    ask = !on;
    scope = on ? Scope::Always : Scope::ThisFile;
}

void OverwritePolicy::applyQuestionState(bool overwriteChecked, bool skipChecked, bool alwaysChecked,
                                         bool currentQueueChecked)
{
    action = skipChecked ? Action::Skip : (overwriteChecked ? Action::Overwrite : Action::None);
    scope = alwaysChecked ? Scope::Always : (currentQueueChecked ? Scope::CurrentQueue : Scope::ThisFile);
    ask = !(overwriteChecked || scope != Scope::ThisFile);
}

void OverwritePolicy::endRun(bool questionAborted)
{
    if (scope == Scope::CurrentQueue)
        ask = true;
    if (questionAborted) {
        ask = true;
        scope = Scope::ThisFile;
    }
}

} // namespace Velmora
