#pragma once

#include "app/Platform.h"

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
    bool startProgram(const QString &program, const QStringList &arguments) override
    {
        started.append(program + u' ' + arguments.join(u' '));
        return true;
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
    QStringList volumes{QStringLiteral("/")};
    bool german = false;
    int shutdowns = 0;
};

} // namespace Velmora::Testing
