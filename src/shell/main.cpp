#include "AppStarter.h"
#include "MainForm.h"
#include "VelmoraApplication.h"

#include "app/CommandLine.h"
#include "app/ProgramFilesCheck.h"

#include <QCoreApplication>
#include <QIcon>

#include <cstdio>

namespace {

void write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

void nameApplication(QCoreApplication &app)
{
    app.setApplicationName(QStringLiteral("Velmora"));
    app.setOrganizationName(QStringLiteral("Holmvik"));
}

} // namespace

int main(int argc, char **argv)
{
    using Velmora::CommandLine;

    // Help, version and refusals are answered before any window or display is needed.
    const QStringList arguments = argumentsOf(argc, argv);
    const CommandLine commandLine = CommandLine::parse(arguments);
    // The command line belongs to Velmora: Qt gets none of it, so that a Qt option can neither
    // take an argument away nor change the window behind the program's back.
    int qtArgc = 1;
    switch (commandLine.action()) {
    case CommandLine::Action::ShowHelp:
        write(stdout, CommandLine::helpText());
        return CommandLine::ExitSuccess;
    case CommandLine::Action::ShowVersion:
        write(stdout, CommandLine::versionText());
        return CommandLine::ExitSuccess;
    case CommandLine::Action::RefuseUnknownOption:
        write(stderr, commandLine.refusalText());
        return CommandLine::ExitUsageError;
    case CommandLine::Action::CheckFiles: {
        QCoreApplication app(qtArgc, argv);
        nameApplication(app);
        QString report;
        const bool ok = Velmora::ProgramFilesCheck::run(Velmora::AppFolders::detect(), &report);
        write(stdout, report);
        return ok ? CommandLine::ExitSuccess : CommandLine::ExitFailure;
    }
    case CommandLine::Action::Start:
        break;
    }

    Velmora::VelmoraApplication app(qtArgc, argv);
    nameApplication(app);
    app.setDesktopFileName(QStringLiteral("com.holmvik.Velmora"));
    app.setWindowIcon(QIcon::fromTheme(QStringLiteral("velmora")));

    Velmora::AppStarter starter(commandLine.startup());
    app.setUnexpectedErrorHandler([&starter](const QString &errorText) {
        qWarning("Velmora: unexpected error: %s", qUtf8Printable(errorText));
        if (starter.mainForm())
            starter.mainForm()->HandleUnexpectedError(errorText);
    });
    if (!starter.start())
        return CommandLine::exitStatusFor(commandLine.startup().check());
    const int status = app.exec();
    // A batch job that did not carry out every record ends with a status of its own.
    return status != 0 ? status : starter.batchExitStatus();
}
