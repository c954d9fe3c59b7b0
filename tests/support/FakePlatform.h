#pragma once

#include "app/Platform.h"

#include <QFileInfo>
#include <QList>
#include <QStringList>

namespace Velmora::Testing {

// Records what the program asks of the system instead of doing it.
class FakePlatform : public Platform {
public:
    bool openWithSystem(const QString &path) override
    {
        opened.append(path);
        return true;
    }
    // The open action on a file: recorded; fails for a missing file or when openFails is set.
    bool openFile(const QString &path) override
    {
        openedFiles.append(path);
        return !openFails && QFileInfo(path).isFile();
    }
    bool startProgram(const QString &program, const QStringList &arguments) override
    {
        started.append(program + u' ' + arguments.join(u' '));
        startedArguments.append(arguments);
        return !startFails;
    }
    QStringList mountedVolumes() const override { return volumes; }
    bool isSystemLanguageGerman() const override { return german; }
    bool shutdownComputer() override
    {
        ++shutdowns;
        return true;
    }

    QStringList opened;
    QStringList started;
    QStringList openedFiles;
    QList<QStringList> startedArguments;
    bool openFails = false;
    bool startFails = false;
    QStringList volumes{QStringLiteral("/")};
    bool german = false;
    int shutdowns = 0;
};

} // namespace Velmora::Testing
