#include "CommandLine.h"

namespace Velmora {

namespace {

const QString HelpOption = QStringLiteral("--help");
const QString ShortHelpOption = QStringLiteral("-h");
const QString VersionOption = QStringLiteral("--version");
const QString CheckFilesOption = QStringLiteral("--check-files");

constexpr qsizetype SwitchPosition = 1; // the second argument

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine result;
    // The first informational option wins wherever it stands, even in the switch slot: whoever
    // types --help wants the help, not "Parameter format not correct!".
    for (const QString &argument : arguments) {
        if (argument == HelpOption || argument == ShortHelpOption)
            result.m_action = Action::ShowHelp;
        else if (argument == VersionOption)
            result.m_action = Action::ShowVersion;
        else if (argument == CheckFilesOption)
            result.m_action = Action::CheckFiles;
        if (result.m_action != Action::Start)
            return result;
    }
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (i != SwitchPosition && arguments.at(i).startsWith(u'-')) {
            result.m_action = Action::RefuseUnknownOption;
            result.m_unknownOption = arguments.at(i);
            return result;
        }
    }
    result.m_startup = StartupArguments::fromArguments(arguments);
    return result;
}

QString CommandLine::usageText()
{
    return QStringLiteral("Usage: velmora [QUEUEFILE -r|-rc|-rs]\n"
                          "       velmora --help | --version | --check-files\n");
}

QString CommandLine::helpText()
{
    return usageText()
        + QStringLiteral(
            "\n"
            "Velmora is a desktop FTP client. Without arguments it opens its window.\n"
            "Given a saved queue file and a switch, it runs that queue as a batch job:\n"
            "it logs in with the connection saved beside the queue (the queue file's\n"
            "name with the extension .ftp), overwrites existing files without asking\n"
            "and adds a line to Lastbatchjob.log. No message box waits during a batch\n"
            "job: messages go to standard error and to the protocol instead.\n"
            "\n"
            "Switches (second argument):\n"
            "  -r              run the queue, then stay open\n"
            "  -rc             run the queue, then close Velmora\n"
            "  -rs             run the queue, then shut the computer down\n"
            "\n"
            "Options:\n"
            "  -h, --help      show this help and exit\n"
            "  --version       show the version and exit\n"
            "  --check-files   show the folders Velmora uses, check that its pictures\n"
            "                  and help pages can be read, and exit\n"
            "\n"
            "A queue file whose name starts with \"-\" is given as ./-name.queue.\n"
            "\n"
            "Files:\n"
            "  ~/.local/share/Holmvik/Velmora/   settings, last queue, sites, saved queues,\n"
            "                                    Lastbatchjob.log and the log files\n"
            "  ~/.cache/Holmvik/Velmora/tmp/     working copies, emptied when Velmora closes\n"
            "\n"
            "Exit status: 0 success; 1 the queue file or the program's own files are\n"
            "missing; 2 unknown option or wrong switch; 3 the batch job did not carry\n"
            "out every record (server down, login failed, queue file damaged, a\n"
            "transfer failed).\n"
            "\n"
            "Example crontab line (every night at 2:00, in the desktop session on :0):\n"
            "  0 2 * * * DISPLAY=:0 velmora $HOME/.local/share/Holmvik/Velmora/Saved-Queues/site.queue -rc\n"
            "A job that ends (-rc, -rs) needs no desktop session at all:\n"
            "  0 2 * * * QT_QPA_PLATFORM=offscreen velmora $HOME/.local/share/Holmvik/Velmora/Saved-Queues/site.queue -rc\n"
            "\n"
            "More in the manual page: man velmora\n");
}

QString CommandLine::versionText()
{
    return QStringLiteral("Velmora " VELMORA_VERSION "\n"
                          "License GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
                          "This is free software: you are free to change and redistribute it.\n"
                          "There is NO WARRANTY, to the extent permitted by law.\n");
}

QString CommandLine::refusalText() const
{
    return QStringLiteral("velmora: unknown option '") + m_unknownOption + QStringLiteral("'\n") + usageText()
        + QStringLiteral("Try 'velmora --help' for more information.\n");
}

int CommandLine::exitStatusFor(StartupArguments::Verdict verdict)
{
    switch (verdict) {
    case StartupArguments::Verdict::BadMode:
        return ExitUsageError;
    case StartupArguments::Verdict::QueueFileMissing:
        return ExitFailure;
    case StartupArguments::Verdict::NoBatch:
    case StartupArguments::Verdict::Batch:
        break;
    }
    return ExitSuccess;
}

} // namespace Velmora
