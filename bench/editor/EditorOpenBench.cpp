// Opens text files of the given sizes in the built-in editor (offscreen, shown as the user sees
// it, HTML colouring and word wrap on), and reports per file:
//  - load: reading, decoding and handing the text to the editor;
//  - answer: from the start of opening until the window has been shown and the event loop runs
//    again (what the user waits for before the window reacts);
//  - all in: until the whole text is in the window (a large file goes in by pieces; -1: not
//    within six seconds);
//  - worst stall: the longest gap of a 10 ms timer during the first six seconds after opening
//    (how long a key press may wait while loading, colouring and wrapping go on);
//  - later stall: the same over the three seconds after that, with the file still open;
//  - CPU open: processor time used in those three seconds (nothing is typed);
//  - save: one character typed at the start, then Save, until it returns (the window is
//    frozen meanwhile);
//  - CPU after close: processor time used in the two seconds after the window was closed;
//  - RSS: the process's resident memory before opening and after closing, in MB.
// Usage: editor_open_bench <megabytes>...   (default 1 10 50 1L; "1L" is one megabyte in one
// single line). Prints figures only.
#include "BenchDoubles.h"

#include "app/AppContext.h"
#include "app/AppFolders.h"
#include "app/DesignState.h"
#include "app/Options.h"
#include "app/ProtocolLog.h"
#include "common/Language.h"
#include "editor/EditorForm.h"

#include <Qsci/qsciscintilla.h>

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

double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096.0 / (1024.0 * 1024.0) : -1;
}

// An HTML page of about the given size: markup, text with umlauts, a few addresses; in one
// single line when singleLine.
QString writePage(const QString &folder, int megabytes, bool singleLine)
{
    const QString path = folder + QStringLiteral("/page-%1mb%2.html").arg(megabytes).arg(singleLine ? QStringLiteral("-line")
                                                                                                         : QString());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    QByteArray line = QByteArrayLiteral("<p class=\"note\">Grüße aus der Übung, siehe https://example.org/a?b=1 "
                                        "und <b>fett</b> &amp; mehr Text für die Zeile.</p>\r\n");
    if (singleLine)
        line.chop(2);
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
    QStringList sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QString::fromLocal8Bit(argv[i]);
    if (sizes.isEmpty())
        sizes = {QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("50"), QStringLiteral("1L")};

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

    std::printf("%-9s %8s %9s %9s %9s %9s %8s %8s %9s %9s %9s\n", "size", "load ms", "answer ms", "all in ms",
                "stall ms", "later ms", "CPU open", "save ms", "CPU close", "RSS before", "RSS after");
    for (const QString &size : sizes) {
        const bool singleLine = size.endsWith(u'L');
        const int megabytes = QStringView(size).chopped(singleLine ? 1 : 0).toInt();
        const QString path = writePage(work.path(), megabytes, singleLine);
        const double rssBefore = residentMb();
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
        const double openBefore = cpuMs();
        const double later = worstStall(3000);
        const double cpuOpen = cpuMs() - openBefore;
        editor.textEdit()->setCursorPosition(0, 0);
        editor.textEdit()->insert(QStringLiteral("x"));
        QElapsedTimer saving;
        saving.start();
        editor.save();
        const double save = double(saving.nsecsElapsed()) / 1e6;
        editor.reject();
        QCoreApplication::processEvents();
        const double before = cpuMs();
        worstStall(2000);
        const double after = cpuMs() - before;
        std::printf("%-9s %8.0f %9.0f %9.0f %9.0f %9.0f %8.0f %8.0f %9.0f %9.0f %9.0f\n",
                    qPrintable(singleLine ? QStringLiteral("%1 MB 1L").arg(megabytes) : QStringLiteral("%1 MB").arg(megabytes)),
                    load, answer, whole, stall, later, cpuOpen, save, after, rssBefore, residentMb());
        QFile::remove(path);
    }
    return 0;
}
