#pragma once

#include "StartupArguments.h"

#include <QString>
#include <QStringList>

namespace Velmora {

// What the command line asks for before any window exists: the help text, the version, a
// check of the program's own files, a refusal of an unknown option, or a normal start (with
// or without a batch job; StartupArguments checks the queue file and the switch later).
//
// The switch slot (second argument) always belongs to the batch switch, so a wrong switch
// there keeps its own message ("Parameter format not correct!"). Any other argument that
// starts with "-" is an unknown option, unless it is one of the options below.
class CommandLine {
public:
    enum class Action { Start, ShowHelp, ShowVersion, CheckFiles, RefuseUnknownOption };

    // Exit statuses of the program; documented in the manual page.
    static constexpr int ExitSuccess = 0;
    static constexpr int ExitFailure = 1;    // a file the command line names is missing
    static constexpr int ExitUsageError = 2; // unknown option or wrong switch
    static constexpr int ExitBatchIncomplete = 3; // a batch job did not carry out every record

    // arguments without the program name.
    static CommandLine parse(const QStringList &arguments);

    Action action() const { return m_action; }
    // For Start: the queue file and switch of a batch job (both empty without one).
    const StartupArguments &startup() const { return m_startup; }
    const QString &unknownOption() const { return m_unknownOption; }

    static QString helpText();
    static QString versionText();
    static QString usageText();
    // For RefuseUnknownOption: names the option, then the short usage.
    QString refusalText() const;

    // The exit status of a start that the batch command-line check refused.
    static int exitStatusFor(StartupArguments::Verdict verdict);

private:
    Action m_action = Action::Start;
    StartupArguments m_startup;
    QString m_unknownOption;
};

} // namespace Velmora
