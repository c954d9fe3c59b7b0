// The filter window's evaluation as the user meets it: a 100,000-record queue list, all five
// criteria set, the window shown offscreen in mode Transfer; one evaluation prepares the
// criteria, filters the records in chunks with the event loop run between them, fills the grid
// and its summary and describes the filter. Prints the median of several rounds.
#include "BenchDoubles.h"

#include "filter/FilterForm.h"
#include "filter/FilterGridModel.h"
#include "shell/AppStarter.h"
#include "shell/MainForm.h"
#include "shell/VelmoraApplication.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Velmora;

namespace {

QStringList makeQueueList(int count)
{
    static const char16_t *const extensions[] = {u".htm", u".php", u".txt", u".JPG", u".png", u".css", u".zip", u""};
    QStringList list;
    list.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString name = (i % 3 ? QStringLiteral("index_") : QStringLiteral("old_home_")) + QString::number(i)
            + QString::fromUtf16(extensions[i % 8]);
        const QString date = QString::number(1 + i % 28) + u'.' + QString::number(1 + i % 12) + u'.'
            + QString::number(2005 + i % 20) + QStringLiteral(" 10:12");
        if (i % 20 == 19)
            list.append(QStringLiteral("MKLOCALDIR|/home/user/site/sub") + QString::number(i % 13));
        else
            list.append(QStringLiteral("RETR|/www/site") + QString::number(i % 97) + u'/' + name
                        + QStringLiteral("|/home/user/site/") + name + u'\u00A7' + QStringLiteral("1|") + name + u'|'
                        + QString::number((i * 7919) % 50'000'000) + u'|' + date + QStringLiteral("|-rw-r--r--|web www"));
    }
    return list;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir profile;
    for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"})
        qputenv(name, profile.path().toUtf8());
    VelmoraApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    Bench::SilentPrompts prompts;
    Bench::QuietPlatform platform;
    AppStarter::Seams seams;
    seams.prompts = &prompts;
    seams.platform = &platform;
    AppStarter starter(StartupArguments(), seams);
    starter.start();
    starter.mainForm()->siteManagerTimer().stop();

    FilterForm &form = *starter.dialogs().filter;
    form.setQueueList(makeQueueList(count));
    form.prepareShow(FilterWindowMode::Transfer);
    form.show();
    FilterCriteria criteria;
    criteria.term = QStringLiteral("index|home");
    criteria.withoutTerm = QStringLiteral("old");
    criteria.date = QStringLiteral("01.01.2010");
    criteria.dateIE = FilterCriteria::DateSince;
    criteria.andDate = FilterCriteria::And;
    criteria.extension = QStringLiteral("htm|php|txt");
    criteria.andExtension = FilterCriteria::And;
    criteria.fileSize = QStringLiteral("40000000");
    criteria.andFileSize = FilterCriteria::And;
    form.setCriteria(criteria);

    std::vector<double> seconds;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        form.evaluate();
        QCoreApplication::processEvents(); // the grid's first paint
        seconds.push_back(double(timer.nsecsElapsed()) / 1e9);
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("Filter window: evaluation with grid and summary over %d records, %d rounds (goal < 0.3 s)\n", count, rounds);
    std::printf("  rows shown %d; median %.3f s (best %.3f s, worst %.3f s)\n", form.grid().rowCount(),
                seconds[seconds.size() / 2], seconds.front(), seconds.back());
    form.hide();
    starter.mainForm()->endFromRun();
    return 0;
}
