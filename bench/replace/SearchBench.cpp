// Search-only run of the search-and-replace engine over a folder of files: the run that
// follows every key press in the search window. Figures only; bench/replace-bench.sh makes
// the files and times grep -rlF over the same folder for comparison.
//
//   replace_search_bench generate FOLDER COUNT SIZE TERM EVERY   (every EVERY-th file holds TERM)
//   replace_search_bench search FOLDER TERM [RUNS]
#include "replace/SearchReplaceEngine.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

using namespace Velmora;

namespace {

int generate(const QString &folder, int count, int size, const QByteArray &term, int every)
{
    // Lines of ordinary words; a hundred files to a folder, like a web site's tree.
    const QByteArray line = "The quick brown fox jumps over the lazy dog and runs off into the woods.\r\n";
    QByteArray body;
    while (body.size() < size)
        body += line;
    body.truncate(size);
    for (int i = 0; i < count; ++i) {
        const QString sub = folder + QStringLiteral("/d%1").arg(i / 100, 3, 10, QLatin1Char('0'));
        QDir().mkpath(sub);
        QFile file(sub + QStringLiteral("/f%1.html").arg(i, 5, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        QByteArray bytes = body;
        if (every > 0 && i % every == 0)
            bytes.replace(size / 2, term.size(), term);
        file.write(bytes);
    }
    return 0;
}

int search(const QString &folder, const QByteArray &term, int runs)
{
    QList<SearchEntry> entries;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        SearchEntry entry;
        entry.workingCopyPath = it.next();
        entries.append(entry);
    }
    ReplaceJob job;
    job.term = QString::fromLatin1(term);
    SearchReplaceEngine engine;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        bool written = false;
        engine.RunSearchReplace(job, entries, false, written);
        const qint64 ms = timer.elapsed();
        int hits = 0;
        for (const SearchEntry &entry : entries)
            hits += entry.hitMark;
        std::printf("velmora search-only: %lld files, %d hits, %lld ms\n", static_cast<long long>(entries.size()), hits,
                    static_cast<long long>(ms));
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const QByteArray command = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (command == "generate" && argc == 7)
        return generate(QString::fromLocal8Bit(argv[2]), atoi(argv[3]), atoi(argv[4]), argv[5], atoi(argv[6]));
    if (command == "search" && argc >= 4)
        return search(QString::fromLocal8Bit(argv[2]), argv[3], argc > 4 ? atoi(argv[4]) : 1);
    std::fprintf(stderr, "usage: replace_search_bench generate FOLDER COUNT SIZE TERM EVERY\n"
                         "       replace_search_bench search FOLDER TERM [RUNS]\n");
    return 2;
}
