#include "StartupArguments.h"

#include "BatchSwitch.h"

#include <QFileInfo>

namespace Velmora {

QString StartupArguments::cutAtDoubleQuotes(const QString &argument)
{
    if (!argument.contains(u'"'))
        return argument;
    qsizetype start = 0;
    while (start < argument.size() && argument[start] == u'"')
        ++start;
    qsizetype end = argument.indexOf(u'"', start);
    if (end < 0)
        end = argument.size();
    return argument.mid(start, end - start);
}

StartupArguments StartupArguments::fromArguments(const QStringList &arguments)
{
    StartupArguments result;
    if (!arguments.isEmpty())
        result.queueFile = cutAtDoubleQuotes(arguments.at(0));
    if (arguments.size() > 1)
        result.mode = arguments.at(1);
    return result;
}

bool StartupArguments::isValidMode(const QString &mode)
{
    return BatchSwitchFromText(mode).has_value();
}

StartupArguments::Verdict StartupArguments::check() const
{
    if (queueFile.isEmpty() || mode.isEmpty())
        return Verdict::NoBatch;
    if (!isValidMode(mode))
        return Verdict::BadMode;
    if (!QFileInfo(queueFile).isFile())
        return Verdict::QueueFileMissing;
    return Verdict::Batch;
}

} // namespace Velmora
