#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace Velmora::Testing {

namespace {
const char *const kVariables[5] = {"HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"};
}

TestEnvironment::TestEnvironment()
{
    for (int i = 0; i < 5; ++i)
        m_saved[i] = qgetenv(kVariables[i]);
    const QString base = m_dir.path();
    QDir().mkpath(base + QStringLiteral("/home"));
    QDir().mkpath(base + QStringLiteral("/data"));
    QDir().mkpath(base + QStringLiteral("/cache"));
    QDir().mkpath(base + QStringLiteral("/config"));
    QDir().mkpath(base + QStringLiteral("/runtime"));
    QFile::setPermissions(base + QStringLiteral("/runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", (base + QStringLiteral("/home")).toUtf8());
    qputenv("XDG_DATA_HOME", (base + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CACHE_HOME", (base + QStringLiteral("/cache")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (base + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", (base + QStringLiteral("/runtime")).toUtf8());
}

TestEnvironment::~TestEnvironment()
{
    for (int i = 0; i < 5; ++i) {
        if (m_saved[i].isNull())
            qunsetenv(kVariables[i]);
        else
            qputenv(kVariables[i], m_saved[i]);
    }
}

QString TestEnvironment::appDataFolder() const
{
    return m_dir.path() + QStringLiteral("/data/Holmvik/Velmora/");
}

QString TestEnvironment::tempFolder() const
{
    return m_dir.path() + QStringLiteral("/cache/Holmvik/Velmora/tmp/");
}

QString TestEnvironment::writeFile(const QString &relativePath, const QByteArray &content) const
{
    const QString path = relativePath.startsWith(u'/') ? relativePath : root() + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

QByteArray TestEnvironment::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace Velmora::Testing
