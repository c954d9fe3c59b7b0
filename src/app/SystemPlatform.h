#pragma once

#include "Platform.h"

namespace Velmora {

// The Linux desktop implementation of Platform (Qt Core only; opening files with the desktop's
// handler goes through xdg-open).
class SystemPlatform : public Platform {
public:
    bool openWithSystem(const QString &path) override;
    bool openFile(const QString &path) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;
    QStringList mountedVolumes() const override;
    bool isSystemLanguageGerman() const override;
    bool shutdownComputer() override;
};

} // namespace Velmora
