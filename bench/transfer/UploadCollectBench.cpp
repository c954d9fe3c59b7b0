// Collects the upload of a local tree (default 20,000 files in 2,000 folders) the way the user
// starts it: the whole program offscreen, the tree's folder selected in the local grid, "Upload"
// with the transfer-mode question switched off and automatic running off, so the builder walks
// the tree with its progress window, builds the "MKD" and "STOR" records and shows them in the
// queue grid without transferring anything. Prints the time, the records and the memory.
//   upload_collect_bench HOST PORT USER PASSWORD WORK-FOLDER [FOLDERS] [FILES-PER-FOLDER]
#include "app/Options.h"
#include "app/Platform.h"
#include "app/UserPrompts.h"
#include "browser/BrowserController.h"
#include "browser/FileGridColumns.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "engine/MasterFTP.h"
#include "filter/NoWizardFilterFile.h"
#include "queue/GetFilesListForm.h"
#include "queue/QueueRunner.h"
#include "queue/QueueTableModel.h"
#include "shell/AppStarter.h"
#include "shell/MainForm.h"
#include "shell/QueueWiring.h"
#include "shell/TransferWiring.h"

#include "BenchDoubles.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QRegularExpression>

#include <cstdio>
#include <ctime>

using namespace Velmora;

namespace {

using Bench::QuietPlatform;
using Bench::SilentPrompts;

qint64 statusKiB(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// tree/dNN/sNN: `top` folders, each with enough subfolders that the tree holds `folders` folders
// below tree/, and `files` small files in each of them. Made once; later runs reuse it.
bool makeTree(const QString &root, int folders, int files)
{
    if (QFileInfo::exists(root + QStringLiteral(".complete")))
        return true;
    const int top = 40;
    const int perTop = folders / top - 1;
    const QByteArray content(100, 'x');
    const auto fill = [&](const QString &folder) {
        if (!QDir().mkpath(folder))
            return false;
        for (int f = 0; f < files; ++f) {
            QFile file(folder + QStringLiteral("/file%1.txt").arg(f, 2, 10, QChar(u'0')));
            if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
                return false;
        }
        return true;
    };
    for (int d = 0; d < top; ++d) {
        const QString dir = root + QStringLiteral("tree/d%1").arg(d, 2, 10, QChar(u'0'));
        if (!fill(dir))
            return false;
        for (int s = 0; s < perTop; ++s) {
            if (!fill(dir + QStringLiteral("/s%1").arg(s, 2, 10, QChar(u'0'))))
                return false;
        }
    }
    QFile mark(root + QStringLiteral(".complete"));
    return mark.open(QIODevice::WriteOnly);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 6) {
        std::fprintf(stderr, "usage: see the head of UploadCollectBench.cpp\n");
        return 2;
    }
    const int folders = args.size() > 6 ? args[6].toInt() : 2000;
    const int files = args.size() > 7 ? args[7].toInt() : 10;
    const QString work = QDir(args[5]).absolutePath() + QStringLiteral("/%1x%2/").arg(folders).arg(files);
    if (!makeTree(work, folders, files)) {
        std::fprintf(stderr, "failed: the tree could not be made in %s\n", qPrintable(work));
        return 1;
    }

    SilentPrompts prompts;
    QuietPlatform platform;
    AppStarter::Seams seams;
    seams.prompts = &prompts;
    seams.platform = &platform;
    seams.programFolder = qEnvironmentVariable("VELMORA_PROGRAM_FOLDER");
    AppStarter starter(StartupArguments(), seams);
    starter.start();
    MainForm &main = *starter.mainForm();
    AppContext &context = starter.context();
    OptionsData data = context.options.data();
    data.automaticRunQueue = false; // show the records, transfer nothing
    context.options.setData(data);
    NoWizardFilterFile(context.folders.appDataFolder).write();

    MasterFTP &ftp = starter.ftp();
    ftp.SetConnectionData(args[1], args[2], args[3], args[4], 0);
    if (!ftp.Connect(false)) {
        std::fprintf(stderr, "failed: connect\n");
        return 1;
    }
    main.SetIdleState();
    BrowserController &browser = starter.browser();
    browser.FillServerGrid(QStringLiteral("/"));
    browser.FillLocalGrid(work);
    FileGridPane &local = browser.pane(BrowserSide::Local);
    local.selectRowByName(QStringLiteral("tree"));
    QCoreApplication::processEvents();

    const qint64 residentBefore = statusKiB("VmRSS:");
    QElapsedTimer timer;
    const double cpuStart = cpuMs();
    timer.start();
    QStringList queue;
    QObject::connect(&starter.queue().runner(), &QueueRunner::recordsShown, [&queue](const QStringList &records) { queue = records; });
    starter.transfer().builders().Upload();
    const double wallMs = double(timer.nsecsElapsed()) / 1e6;
    const double cpu = cpuMs() - cpuStart;
    const qint64 residentAfter = statusKiB("VmRSS:");

    const qsizetype mkd = queue.filter(QRegularExpression(QStringLiteral("^MKD\\|"))).size();
    const qsizetype stor = queue.filter(QRegularExpression(QStringLiteral("^STOR\\|"))).size();
    std::printf("%.3f s (CPU %.3f s): %lld STOR and %lld MKD records, %d queue rows, %d progress lines\n", wallMs / 1e3,
                cpu / 1e3, static_cast<long long>(stor), static_cast<long long>(mkd), starter.queue().model().rowCount(),
                starter.dialogs().walkProgress->list()->count());
    std::printf("  resident %lld MB before, %lld MB after (+%lld MB), peak %lld MB\n",
                static_cast<long long>(residentBefore / 1024), static_cast<long long>(residentAfter / 1024),
                static_cast<long long>((residentAfter - residentBefore) / 1024),
                static_cast<long long>(statusKiB("VmHWM:") / 1024));
    const bool complete = stor == qsizetype(folders) * files && mkd == folders + 1;
    ftp.Disconnect();
    main.endFromRun();
    return complete ? 0 : 1;
}
