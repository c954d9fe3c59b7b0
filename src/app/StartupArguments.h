#pragma once

#include <QString>
#include <QStringList>

namespace Velmora {

// The two command-line values that hand a queue file to a batch job.
struct StartupArguments {
    QString queueFile; // first argument, cut to its first stretch without double quotes
    QString mode;      // second argument, unchanged

    enum class Verdict { NoBatch, Batch, BadMode, QueueFileMissing };

    // arguments without the program name.
    static StartupArguments fromArguments(const QStringList &arguments);
    // A leading double quote is skipped; the text up to the next double quote remains.
    static QString cutAtDoubleQuotes(const QString &argument);
    static bool isValidMode(const QString &mode);

    // Both values present: the mode must be "-r", "-rc" or "-rs" and the queue file must exist.
    Verdict check() const;
};

} // namespace Velmora
