// libFuzzer target for the sort files "local_sort.ini" and "server_sort.ini": any bytes give a
// stored sort or "unreadable", never a crash; a stored sort is written and read back unchanged;
// and sorting a grid by the stored column, whatever number it holds, keeps every row and leaves
// them in the column's order. The rest of the input gives the rows' names, so the comparison of
// names without regard to case is checked against Qt's on any text.
#include "browser/BrowserSide.h"
#include "browser/FileGridEntry.h"
#include "browser/FileGridSort.h"
#include "browser/SortFile.h"

#include "common/TextCodec.h"

#include "../FuzzCheck.h"
#include "../FuzzFolder.h"

#include <QByteArray>

#include <algorithm>
#include <cstdint>
#include <vector>

using namespace Velmora;

namespace {

int sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

std::vector<FileGridEntry> rowsFrom(const QStringList &lines)
{
    std::vector<FileGridEntry> rows;
    for (qsizetype i = 2; i < lines.size() && rows.size() < 64; ++i) {
        const QString &line = lines[i];
        FileGridEntry e;
        e.name = line;
        e.kind = EntryKind(line.size() % 3);
        e.typeText = line.right(2);
        e.permissions = line.left(3);
        e.owner = line.mid(1, 2);
        e.size = line.size() % 5;
        e.hasDate = line.size() % 2;
        e.dateMs = e.hasDate ? qint64(line.size() % 4) * 1000 : 0;
        rows.push_back(e);
    }
    return rows;
}

void checkSort(std::vector<FileGridEntry> rows, BrowserSide side, const SortFile &stored)
{
    const std::vector<FileGridEntry> before = rows;
    const bool sorted = SortFileGridEntries(rows, side, stored.column, stored.descending);
    FUZZ_CHECK(rows.size() == before.size());
    std::vector<QString> namesBefore;
    std::vector<QString> namesAfter;
    for (size_t i = 0; i < rows.size(); ++i) {
        namesBefore.push_back(before[i].name);
        namesAfter.push_back(rows[i].name);
    }
    if (!sorted) {
        FUZZ_CHECK(namesAfter == namesBefore); // a column without key leaves the order alone
        return;
    }
    std::sort(namesBefore.begin(), namesBefore.end());
    std::sort(namesAfter.begin(), namesAfter.end());
    FUZZ_CHECK(namesAfter == namesBefore);
    for (size_t i = 0; i + 1 < rows.size(); ++i) {
        const int c = CompareFileGridEntries(rows[i], rows[i + 1], side, stored.column);
        FUZZ_CHECK(stored.descending ? c >= 0 : c <= 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 8 * 1024)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = TextCodec::SplitLines(TextCodec::Decode(bytes));
    const SortFile stored = SortFile::parse(lines);
    if (stored.state == SortFile::State::Unreadable) {
        bool number = false;
        FUZZ_CHECK(lines.isEmpty() || (lines[0].trimmed().toInt(&number), !number));
        return 0;
    }
    FUZZ_CHECK(stored.state == SortFile::State::Read);

    const QString base = fuzzFolder();
    FUZZ_CHECK(!base.isEmpty());
    const QString path = base + QStringLiteral("local_sort.ini");
    FUZZ_CHECK(SortFile::write(path, stored.column, stored.descending));
    const SortFile again = SortFile::read(path);
    FUZZ_CHECK(again.state == SortFile::State::Read && again.column == stored.column && again.descending == stored.descending);

    const std::vector<FileGridEntry> rows = rowsFrom(lines);
    checkSort(rows, BrowserSide::Local, stored);
    checkSort(rows, BrowserSide::Server, stored);
    for (size_t i = 0; i + 1 < rows.size(); ++i) {
        const QString &a = rows[i].name;
        const QString &b = rows[i + 1].name;
        FUZZ_CHECK(sign(CompareTextIgnoringCase(a, b)) == sign(a.compare(b, Qt::CaseInsensitive)));
    }
    return 0;
}
