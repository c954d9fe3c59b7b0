// Parses and sorts a LIST of 100,000 lines the way a listing does: the client's per-line work
// (decoding the bytes, the parsed modification date) and the engine's records, sorting and
// de-duplication. Prints the figures; the goal is under 0.25 s in total.
#include "engine/ftp/ListingBuilder.h"
#include "engine/ftp/ListingDate.h"
#include "engine/ftp/ServerNameCodec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QRandomGenerator>

#include <cstdio>
#include <cstring>

using namespace Velmora;

namespace {

QList<QByteArray> makeLines(int count)
{
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static const char *const words[] = {"report", "Bild", "\xC3\xBC" "bersicht", "index", "data", "a b  c", "backup", "Notiz"};
    QRandomGenerator random(4711);
    QList<QByteArray> lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        const bool folder = random.bounded(10) == 0;
        const bool recent = random.bounded(3) == 0;
        QByteArray line = folder ? "drwxr-xr-x   2 " : "-rw-r--r--   1 ";
        line += "webuser  www-data ";
        line += QByteArray::number(folder ? 4096 : random.bounded(1, 50'000'000)).rightJustified(9, ' ');
        line += ' ';
        line += months[random.bounded(12)];
        line += ' ';
        line += QByteArray::number(random.bounded(1, 29)).rightJustified(2, ' ');
        line += ' ';
        if (recent)
            line += QByteArray::number(random.bounded(24)).rightJustified(2, '0') + ':'
                + QByteArray::number(random.bounded(60)).rightJustified(2, '0');
        else
            line += ' ' + QByteArray::number(random.bounded(1995, 2025));
        line += ' ';
        line += words[random.bounded(8)];
        line += '_';
        line += QByteArray::number(i);
        line += folder ? "" : ".txt";
        lines.append(line);
    }
    return lines;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100'000;
    // With "logs" the three DirectoryListing lists are kept too ("Write logfiles" on).
    const bool keepLogs = argc > 2 && std::strcmp(argv[2], "logs") == 0;
    const QList<QByteArray> raw = makeLines(count);

    double best[3] = {1e9, 1e9, 1e9};
    qsizetype records = 0;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer timer;
        timer.start();
        ServerNameCodec codec;
        codec.setUtf8(true);
        ListingPass first;
        first.refused = true;
        ListingPass second;
        second.lines.reserve(raw.size());
        second.dates.reserve(raw.size());
        const QDate today = QDate::currentDate();
        for (const QByteArray &bytes : raw) {
            const QString line = codec.decodeListingLine(bytes);
            second.dates.append(ParseListingDate(line, today));
            second.lines.append(line);
        }
        const double client = timer.nsecsElapsed() / 1e9;
        timer.restart();
        const ListingResult result = BuildListing(first, second, RecordDateText(today), keepLogs);
        const double engine = timer.nsecsElapsed() / 1e9;
        records = result.records.size();
        best[0] = std::min(best[0], client);
        best[1] = std::min(best[1], engine);
        best[2] = std::min(best[2], client + engine);
    }
    std::printf("listing of %d lines -> %lld records, locale %s, logs %s (best of 5 rounds)\n", count,
                static_cast<long long>(records), qPrintable(QLocale().name()), keepLogs ? "kept" : "off");
    std::printf("  client: decode + parsed dates  %.3f s\n", best[0]);
    std::printf("  engine: records, sort, dedupe  %.3f s\n", best[1]);
    std::printf("  total                          %.3f s (goal < 0.25 s)\n", best[2]);
    return 0;
}
