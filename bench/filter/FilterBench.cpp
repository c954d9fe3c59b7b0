// Evaluates a filter that uses all five criteria (term, without-term, date, extension, size)
// over a collected queue list of 100,000 records, the way the filter window does: preparation,
// then the records in one go and in chunks with the event loop run between them. Prints the
// figures of several rounds; the goal is under 0.3 s.
#include "filter/FilterEvaluation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace Velmora;

namespace {

// A mix like a download, an upload and a deletion of large trees: files with listing records
// (rights and owner included), local files with the program's other date form, folders, and
// records the filter does not test.
QStringList makeQueueList(int count)
{
    static const char16_t *const words[] = {u"index", u"home", u"report", u"Bild", u"\u00DCbersicht", u"old_data",
                                            u"backup", u"Notiz", u"tmp", u"style"};
    static const char16_t *const extensions[] = {u".htm", u".php", u".txt", u".JPG", u".png", u".css", u".zip", u""};
    QRandomGenerator random(4711);
    QStringList list;
    list.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString folder = QStringLiteral("/www/site") + QString::number(i % 97) + QStringLiteral("/sub")
            + QString::number(i % 13);
        const QString name = QString::fromUtf16(words[random.bounded(10)]) + u'_' + QString::number(i)
            + QString::fromUtf16(extensions[random.bounded(8)]);
        const QString size = QString::number(random.bounded(1, 50'000'000));
        const QString day = QString::number(random.bounded(1, 29));
        const QString month = QString::number(random.bounded(1, 13));
        const QString year = QString::number(random.bounded(2005, 2025));
        const int kind = random.bounded(20);
        if (kind < 12) {
            list.append(QStringLiteral("RETR|") + folder + u'/' + name + QStringLiteral("|/home/user/site/") + name
                        + u'\u00A7' + QStringLiteral("1|") + name + u'|' + size + u'|' + day + u'.' + month + u'.'
                        + year + QStringLiteral(" 10:12|-rw-r--r--|webuser www-data"));
        } else if (kind < 16) {
            list.append(QStringLiteral("STOR|/home/user/site/") + name + u'|' + folder + u'/' + name + u'\u00A7'
                        + QStringLiteral("1|") + name + u'|' + size + u'|' + month.rightJustified(2, u'0') + u'/'
                        + day.rightJustified(2, u'0') + u'/' + year + QStringLiteral(" 10:12:33"));
        } else if (kind < 18) {
            list.append(QStringLiteral("DELE|") + folder + u'/' + name + u'\u00A7' + QStringLiteral("1|") + name + u'|'
                        + size + u'|' + day + u'.' + month + u'.' + year + QStringLiteral(" 08:00"));
        } else if (kind < 19) {
            list.append(QStringLiteral("RMD|") + folder + u'\u00A7' + QStringLiteral("0|sub|4096|") + day + u'.' + month
                        + u'.' + year + QStringLiteral(" 08:00|drwxr-xr-x|webuser www-data"));
        } else {
            list.append(QStringLiteral("MKLOCALDIR|/home/user/site/sub") + QString::number(i % 13));
        }
    }
    return list;
}

struct Variant {
    const char *what;
    std::function<void(FilterCriteria &)> set;
};

// CPU time of this thread: on a machine shared with other work it shows the evaluation's own cost.
double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100'000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 7;
    const QStringList queueList = makeQueueList(count);

    const Variant variants[] = {
        {"names: ('index|home' in Filename) and ('old' in Filename) and (Date>='01.01.2015') and (Extension='htm|php') "
         "and (Filesize<'1000000')",
         [](FilterCriteria &c) {
             c.term = QStringLiteral("index|home");
             c.withoutTerm = QStringLiteral("old");
             c.date = QStringLiteral("01.01.2015");
             c.dateIE = FilterCriteria::DateSince;
             c.andDate = FilterCriteria::And;
             c.extension = QStringLiteral("htm|php");
             c.andExtension = FilterCriteria::And;
             c.fileSize = QStringLiteral("1000000");
             c.andFileSize = FilterCriteria::And;
         }},
        {"paths and dates: term and without-term in Directory and Filename, Date before, all without the 27 "
         "non-text extensions, Filesize>=",
         [](FilterCriteria &c) {
             c.term = QStringLiteral("site1|site2|sub3");
             c.termDir = FilterCriteria::InDirectoryAndFilename;
             c.withoutTerm = QStringLiteral("backup|tmp|/old");
             c.withoutTermDir = FilterCriteria::InDirectoryAndFilename;
             c.date = QStringLiteral("31.12.2020");
             c.dateIE = FilterCriteria::DateBefore;
             c.extension = NonTextExtensions;
             c.extensionIE = FilterCriteria::AllWithoutExtension;
             c.fileSize = QStringLiteral("100|x|5000");
             c.fileSizeIE = FilterCriteria::SizeGreaterOrEqual;
             c.andFileSize = FilterCriteria::And;
         }},
        {"file dates: term in Filedate, without-term in Filedate, All with Date, extension, Filesize=",
         [](FilterCriteria &c) {
             c.term = QStringLiteral("2019|2020");
             c.termDir = FilterCriteria::InFiledate;
             c.withoutTerm = QStringLiteral("12.2019");
             c.withoutTermDir = FilterCriteria::InFiledate;
             c.date = QStringLiteral("01.|02.");
             c.extension = QStringLiteral("*.txt");
             c.fileSize = QStringLiteral("4096|1000");
             c.fileSizeIE = FilterCriteria::SizeEqual;
         }},
    };

    std::printf("Filter evaluation over %d records, %d rounds each (goal < 0.3 s)\n", count, rounds);
    for (const Variant &variant : variants) {
        std::vector<double> whole;
        std::vector<double> chunked;
        std::vector<double> cpu;
        qsizetype passed = 0;
        int chunks = 0;
        for (int round = 0; round < rounds; ++round) {
            FilterCriteria criteria;
            variant.set(criteria);
            QElapsedTimer timer;
            timer.start();
            const double cpuStart = cpuSeconds();
            FilterEvaluation evaluation(PrepareFilter(criteria, false), queueList);
            evaluation.run();
            whole.push_back(timer.nsecsElapsed() / 1e9);
            cpu.push_back(cpuSeconds() - cpuStart);
            passed = evaluation.filteredList().size();

            FilterCriteria again;
            variant.set(again);
            timer.restart();
            FilterEvaluation inChunks(PrepareFilter(again, false), queueList);
            chunks = 0;
            while (!inChunks.step(FilterEvaluation::SuggestedChunk)) {
                const QString progress = inChunks.progressText(); // what the window's label would show
                Q_UNUSED(progress);
                QCoreApplication::processEvents();
                ++chunks;
            }
            chunked.push_back(timer.nsecsElapsed() / 1e9);
            if (inChunks.filteredList() != evaluation.filteredList()) {
                std::fprintf(stderr, "chunked and whole evaluations differ\n");
                return 1;
            }
        }
        std::printf("  %s\n", variant.what);
        std::printf("    passed %lld of %d; one go: median %.3f s (best %.3f s, CPU %.3f s); in %d chunks of %lld with "
                    "events between: median %.3f s, %.1f ms per chunk\n",
                    static_cast<long long>(passed), count, median(whole), *std::min_element(whole.begin(), whole.end()),
                    median(cpu),
                    chunks + 1, static_cast<long long>(FilterEvaluation::SuggestedChunk), median(chunked),
                    median(chunked) * 1000.0 / (chunks + 1));
    }
    return 0;
}
