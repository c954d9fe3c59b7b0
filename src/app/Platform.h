#pragma once

#include <QString>
#include <QStringList>

namespace Velmora {

// The few things that differ between operating systems and must never run for real in a test.
class Platform {
public:
    virtual ~Platform() = default;

    // Opens a file with the program the desktop registers for its type.
    virtual bool openWithSystem(const QString &path) = 0;
    // The system's "open" action on a file: a program file (executable, no folder) is started,
    // any other file opens with the program registered for its type. False when the file is
    // missing or nothing could be started.
    virtual bool openFile(const QString &path) { return openWithSystem(path); }
    // Starts a program with arguments, detached.
    virtual bool startProgram(const QString &program, const QStringList &arguments) = 0;
    // Mounted volumes shown for the drive list, plus the home folder; each ends with "/".
    virtual QStringList mountedVolumes() const = 0;
    // Whether the system's default language is German (dates are then shown "dd.mm.yyyy").
    virtual bool isSystemLanguageGerman() const = 0;
    // Powers the machine off; runs $VELMORA_SHUTDOWN_COMMAND instead when that is set.
    virtual bool shutdownComputer() = 0;
};

} // namespace Velmora
