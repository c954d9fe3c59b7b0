#pragma once

namespace Velmora {

// What happens when a transfer's target exists. It lives for the whole program run.
//   ask:    every conflict is asked;
//   scope:  how far the last answer reaches (this file, always, the current queue);
//   action: the radio button of the overwrite question that is checked (none at start, which
//           counts as Overwrite).
// The question is shown when ask is set or the scope is this file; otherwise the remembered
// action is applied without asking.
class OverwritePolicy {
public:
    enum class Scope { ThisFile = 0, Always = 1, CurrentQueue = 2 };
    enum class Action { None, Overwrite, Skip };

    bool ask = true;
    Scope scope = Scope::ThisFile;
    Action action = Action::None;

    bool questionNeeded() const { return ask || scope == Scope::ThisFile; }
    // Without a question: overwrite unless the remembered action is Skip.
    bool overwriteWithoutQuestion() const { return action != Action::Skip; }

    // The option "AllwaysOverwrite": on means never ask and overwrite.
    void applyAllwaysOverwrite(bool on);
    // The overwrite question's controls, after every change the user makes.
    void applyQuestionState(bool overwriteChecked, bool skipChecked, bool alwaysChecked, bool currentQueueChecked);
    // The end of a run. An answer for the current queue only is asked again from the next run on;
    // a question left with "Abort" makes the next conflict ask again.
    void endRun(bool questionAborted);
};

} // namespace Velmora
