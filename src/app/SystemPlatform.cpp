#include "SystemPlatform.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QStorageInfo>

namespace Velmora {

bool SystemPlatform::openWithSystem(const QString &path)
{
    return QProcess::startDetached(QStringLiteral("xdg-open"), {path});
}

bool SystemPlatform::openFile(const QString &path)
{
    const QFileInfo file(path);
    if (!file.exists() || file.isDir())
        return false;
    if (file.isExecutable())
        return QProcess::startDetached(file.absoluteFilePath(), {});
    return openWithSystem(file.absoluteFilePath());
}

bool SystemPlatform::startProgram(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

QStringList SystemPlatform::mountedVolumes() const
{
    QStringList result;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        QString root = volume.rootPath();
        if (!root.endsWith(u'/'))
            root += u'/';
        if (!result.contains(root))
            result.append(root);
    }
    QString home = QDir::homePath();
    if (!home.endsWith(u'/'))
        home += u'/';
    if (!result.contains(home))
        result.append(home);
    return result;
}

bool SystemPlatform::isSystemLanguageGerman() const
{
    return QLocale::system().language() == QLocale::German;
}

bool SystemPlatform::shutdownComputer()
{
    const QString command = qEnvironmentVariable("VELMORA_SHUTDOWN_COMMAND");
    if (!command.isEmpty())
        return QProcess::execute(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command}) == 0;
    return QProcess::startDetached(QStringLiteral("systemctl"), {QStringLiteral("poweroff")});
}

} // namespace Velmora
