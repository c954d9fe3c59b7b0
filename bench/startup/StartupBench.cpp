// Time from process start to the main window shown, offscreen, and the resident memory then.
// Runs the real start-up in a fresh temporary profile; prints one line of figures.
#include "shell/AppStarter.h"
#include "shell/MainForm.h"
#include "app/UserPrompts.h"
#include "shell/VelmoraApplication.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

class SilentPrompts : public Velmora::UserPrompts {
public:
    void information(const QString &) override {}
    void error(const QString &) override {}
    bool confirm(const QString &) override { return false; }
    QString openFile(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFile(const QString &, const QString &, const QString &, const QString &, const QString &) override { return {}; }
    QString chooseFolder(const QString &, const QString &, bool) override { return {}; }
};

// Seconds since this process started, from /proc (the clock the kernel used to stamp it).
double secondsSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the whole line
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!uptime.open(QIODevice::ReadOnly))
        return -1;
    const double up = uptime.readAll().split(' ').value(0).toDouble();
    return up - startTicks / double(sysconf(_SC_CLK_TCK));
}

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir profile;
    for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"})
        qputenv(name, profile.path().toUtf8());
    Velmora::VelmoraApplication app(argc, argv);
    SilentPrompts prompts;
    Velmora::AppStarter::Seams seams;
    seams.prompts = &prompts;
    Velmora::AppStarter starter(Velmora::StartupArguments(), seams);
    starter.start();
    QCoreApplication::processEvents();
    const bool shown = starter.mainForm()->isVisible();
    const double seconds = secondsSinceProcessStart();
    std::printf("startup: main window shown=%s after %.3f s (goal < 0.5 s); resident memory %.1f MB (goal < 80 MB)\n",
                shown ? "yes" : "no", seconds, residentKilobytes() / 1024.0);
    starter.mainForm()->endFromRun();
    return 0;
}
