#pragma once

#include "app/Platform.h"
#include "app/UserPrompts.h"

#include <QStringList>

#include <cstdio>

namespace Velmora::Bench {

// Prompts for a benchmark nobody watches: messages go to stderr, questions say no, dialogs cancel.
class SilentPrompts : public UserPrompts {
public:
    void information(const QString &text) override { std::fprintf(stderr, "information: %s\n", qPrintable(text)); }
    void error(const QString &text) override { std::fprintf(stderr, "error: %s\n", qPrintable(text)); }
    bool confirm(const QString &) override { return false; }
    QString openFile(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFile(const QString &, const QString &, const QString &, const QString &, const QString &) override { return {}; }
    QString chooseFolder(const QString &, const QString &, bool) override { return {}; }
};

// A platform that opens, starts and shuts down nothing.
class QuietPlatform : public Platform {
public:
    bool openWithSystem(const QString &) override { return false; }
    bool startProgram(const QString &, const QStringList &) override { return false; }
    QStringList mountedVolumes() const override { return {QStringLiteral("/")}; }
    bool isSystemLanguageGerman() const override { return false; }
    bool shutdownComputer() override { return false; }
};

} // namespace Velmora::Bench
