// Lists a local folder of N files (default 100,000) into the local file grid through the pane's
// own listing path, re-sorts it by size both ways, and reports the times and the memory the
// filled grid holds. Runs offscreen with the real grid widget shown. Prints figures only.
#include "browser/DriveListWidget.h"
#include "browser/FileGridColumns.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "browser/FileIconDecorations.h"
#include "browser/LocalBrowser.h"
#include "browser/LocalFolderReader.h"
#include "common/Language.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace Velmora;

namespace {

qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

double ms(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// Processor time of this process (user and system) in milliseconds: less affected than the wall
// clock when other work shares the machine.
double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// What the rows themselves hold: the entries and the text each row owns (shared texts such as
// the file types counted once).
qint64 rowBytes(const std::vector<FileGridEntry> &rows)
{
    qint64 bytes = qint64(rows.capacity() * sizeof(FileGridEntry));
    QSet<const void *> seen;
    for (const FileGridEntry &e : rows) {
        for (const QString *text : {&e.name, &e.typeText, &e.permissions, &e.owner, &e.rawSize, &e.rawDate}) {
            if (text->isNull() || seen.contains(text->constData()))
                continue;
            seen.insert(text->constData());
            bytes += 16 + (text->capacity() + 1) * 2; // header and characters
        }
    }
    return bytes;
}

// Files of varied sizes (sparse, so creating them costs no disk space) and a few folders.
void makeFolder(const QString &folder, int files)
{
    for (int i = 0; i < files; ++i) {
        QFile file(folder + QStringLiteral("file_%1.%2").arg(i, 6, 10, QLatin1Char('0')).arg(i % 7 ? u"txt" : u"dat"));
        if (file.open(QIODevice::WriteOnly))
            file.resize(qint64((i * 7919) % 100003));
    }
    for (int i = 0; i < 20; ++i)
        QDir().mkpath(folder + QStringLiteral("folder_%1").arg(i));
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int files = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;

    QTemporaryDir work;
    const QString folder = work.path() + QStringLiteral("/big/");
    QDir().mkpath(folder);
    QElapsedTimer timer;
    timer.start();
    makeFolder(folder, files);
    std::printf("Created %d files in %.0f ms\n", files, ms(timer));

    Language language;
    FileIconDecorations decorations;
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *pathBox = new QComboBox(&window);
    pathBox->setEditable(true);
    auto *view = new FileGridView(&window);
    auto *drives = new DriveListWidget(&window);
    auto *status = new QLabel(&window);
    auto *up = new QPushButton(&window);
    auto *root = new QPushButton(&window);
    for (QWidget *widget : {static_cast<QWidget *>(pathBox), static_cast<QWidget *>(view), static_cast<QWidget *>(drives),
                            static_cast<QWidget *>(status)})
        layout->addWidget(widget);
    window.resize(1000, 700);
    window.show();

    FileGridPane::Setup setup;
    setup.side = BrowserSide::Local;
    setup.view = view;
    setup.pathBox = pathBox;
    setup.statusLabel = status;
    setup.language = &language;
    setup.decorations = &decorations;
    setup.sortFile = work.path() + QStringLiteral("/local_sort.ini");
    setup.layoutFile = work.path() + QStringLiteral("/localgrid.ini");
    FileGridPane pane(setup);
    LocalBrowser::Setup browserSetup;
    browserSetup.pane = &pane;
    browserSetup.driveList = drives;
    browserSetup.rootButton = root;
    browserSetup.upButton = up;
    browserSetup.language = &language;
    LocalBrowser browser(browserSetup);

    // Reading alone, for the breakdown.
    timer.restart();
    double cpuBefore = cpuMs();
    const LocalFolderReader::Result read = LocalFolderReader(&language).read(folder);
    const double readMs = ms(timer);
    const double readCpu = cpuMs() - cpuBefore;

    const qint64 before = residentKiB();
    for (int round = 1; round <= 3; ++round) {
        timer.restart();
        const double cpuBefore = cpuMs();
        browser.FillLocalGrid(folder);
        const double fillMs = ms(timer);
        const double fillCpu = cpuMs() - cpuBefore;
        timer.restart();
        const QPixmap shown = view->grab();
        Q_UNUSED(shown);
        const double paintMs = ms(timer);
        std::printf("FillLocalGrid round %d: %.0f ms wall, %.0f ms processor (goal < 1000 ms); first paint %.1f ms; %d rows\n",
                    round, fillMs, fillCpu, paintMs, pane.model().rowCount());
    }
    const qint64 after = residentKiB();
    std::printf("  of which reading the folder: %.0f ms wall, %.0f ms processor (%zu entries)\n", readMs, readCpu,
                read.rows.size());

    for (int round = 1; round <= 2; ++round) {
        timer.restart();
        cpuBefore = cpuMs();
        pane.headerDoubleClicked(FileGridColumns::Size); // descending
        const double descending = ms(timer);
        const double descendingCpu = cpuMs() - cpuBefore;
        timer.restart();
        cpuBefore = cpuMs();
        pane.headerDoubleClicked(FileGridColumns::Size); // ascending again
        const double ascending = ms(timer);
        const double ascendingCpu = cpuMs() - cpuBefore;
        std::printf("Re-sort by size round %d: descending %.0f ms wall (%.0f processor), ascending %.0f ms wall (%.0f "
                    "processor) (goal < 300 ms)\n", round, descending, descendingCpu, ascending, ascendingCpu);
    }
    for (int column : {FileGridColumns::Name, FileGridColumns::Date, FileGridColumns::FileType}) {
        timer.restart();
        cpuBefore = cpuMs();
        pane.headerDoubleClicked(column);
        std::printf("Re-sort by %s (descending): %.0f ms wall, %.0f ms processor\n",
                    qPrintable(FileGridColumns::caption(BrowserSide::Local, column, &language)), ms(timer), cpuMs() - cpuBefore);
    }

    const qint64 held = rowBytes(pane.model().rows());
    std::printf("Memory of the filled grid: rows hold %.1f MiB (%.0f bytes per row); resident memory grew by %lld KiB "
                "over three fills\n", double(held) / 1048576.0, double(held) / std::max(1, pane.model().rowCount()),
                after - before);
    std::printf("Resident memory in all: %lld KiB\n", residentKiB());
    return 0;
}
