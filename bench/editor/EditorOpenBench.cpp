// Opens text files of the given sizes in the built-in editor (offscreen, shown as the user sees
// it, HTML colouring and word wrap on), and reports per file:
//  - load: reading, decoding and handing the text to the editor;
//  - answer: from the start of opening until the window has been shown and the event loop runs
//    again (what the user waits for before the window reacts);
//  - all in: until the whole text is in the window (a large file goes in by pieces; -1: not
//    within six seconds);
//  - worst stall: the longest gap of a 10 ms timer during the first six seconds after opening
//    (how long a key press may wait while loading, colouring and wrapping go on);
//  - CPU after close: processor time used in the two seconds after the window was closed.
// Usage: editor_open_bench <megabytes>...   (default 1 10 50). Prints figures only.
#include "BenchDoubles.h"

#include "app/AppContext.h"
#include "app/AppFolders.h"
#include "app/DesignState.h"
#include "app/Options.h"
#include "app/ProtocolLog.h"
#include "common/Language.h"
#include "editor/EditorForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace Velmora;
using namespace Velmora::Bench;

namespace {

double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// An HTML page of about the given size: markup, text with umlauts, a few addresses.
QString writePage(const QString &folder, int megabytes)
{
    const QString path = folder + QStringLiteral("/page-%1mb.html").arg(megabytes);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    const QByteArray line = QByteArrayLiteral("<p class=\"note\">Grüße aus der Übung, siehe https://example.org/a?b=1 "
                                              "und <b>fett</b> &amp; mehr Text für die Zeile.</p>\r\n");
    const qint64 target = qint64(megabytes) * 1024 * 1024;
    QByteArray block;
    for (int i = 0; i < 1000; ++i)
        block += line;
    qint64 written = 0;
    while (written < target)
        written += file.write(block);
    return path;
}

// Runs the event loop for ms milliseconds and returns the longest gap between two ticks of a
// 10 ms timer.
double worstStall(int ms)
{
    QElapsedTimer clock;
    clock.start();
    double last = 0;
    double worst = 0;
    QTimer tick;
    tick.setInterval(10);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const double now = double(clock.nsecsElapsed()) / 1e6;
        worst = std::max(worst, now - last);
        last = now;
    });
    tick.start();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return std::max(worst, double(clock.nsecsElapsed()) / 1e6 - last);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QString::fromLocal8Bit(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes = {1, 10, 50};

    QTemporaryDir work;
    qputenv("HOME", work.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (work.path() + QStringLiteral("/data")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (work.path() + QStringLiteral("/cache")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (work.path() + QStringLiteral("/config")).toLocal8Bit());
    AppFolders folders = AppFolders::detect();
    folders.create();
    ProtocolLog log(folders.appDataFolder);
    Options options(folders.appDataFile(QStringLiteral("options.ini")));
    SilentPrompts prompts;
    Language language;
    QuietPlatform platform;
    DesignState design;
    AppContext context{folders, language, options, log, prompts, platform, design};
    EditorForm editor(context, nullptr);

    std::printf("%-8s %10s %10s %12s %14s %18s\n", "size", "load ms", "answer ms", "all in ms", "worst stall ms",
                "CPU after close ms");
    for (int megabytes : sizes) {
        const QString path = writePage(work.path(), megabytes);
        QElapsedTimer clock;
        clock.start();
        if (!editor.Load(path)) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(path));
            return 1;
        }
        const double load = double(clock.nsecsElapsed()) / 1e6;
        editor.showNonBlocking();
        double answer = 0;
        QEventLoop shown;
        QTimer::singleShot(0, &shown, [&] {
            answer = double(clock.nsecsElapsed()) / 1e6;
            shown.quit();
        });
        shown.exec();
        double whole = editor.isLoading() ? -1 : answer;
        QTimer watch;
        watch.setInterval(1);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (whole < 0 && !editor.isLoading())
                whole = double(clock.nsecsElapsed()) / 1e6;
        });
        watch.start();
        const double stall = worstStall(6000);
        watch.stop();
        editor.reject();
        QCoreApplication::processEvents();
        const double before = cpuMs();
        worstStall(2000);
        const double after = cpuMs() - before;
        std::printf("%-8s %10.0f %10.0f %12.0f %14.0f %18.0f\n", qPrintable(QStringLiteral("%1 MB").arg(megabytes)), load,
                    answer, whole, stall, after);
        QFile::remove(path);
    }
    return 0;
}
