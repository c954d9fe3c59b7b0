// libFuzzer target for queue files ("*.queue" and "lastqueue.ini"): reading any bytes gives rows
// or a clear refusal, never a crash; the rows survive being written and read again; and a row
// becomes a record only when the record carries exactly its paths and a file name that stays
// inside its folder.
#include "queue/QueueFile.h"
#include "queue/QueueRecord.h"
#include "queue/QueueRow.h"

#include "common/RecordText.h"

#include "../FuzzCheck.h"

#include <QByteArray>

#include <cstdint>

using namespace Velmora;

namespace {

bool hasEmptyCell(const QueueRow &row)
{
    return row.source.isEmpty() || row.cmd.isEmpty() || row.destination.isEmpty() || row.filesize.isEmpty()
        || row.date.isEmpty();
}

void checkCells(const QueueRow &row)
{
    for (const QString *cell : {&row.source, &row.cmd, &row.destination, &row.filesize, &row.date}) {
        FUZZ_CHECK(!cell->contains(QueueRow::Separator));
        FUZZ_CHECK(!cell->contains(u'\r') && !cell->contains(u'\n'));
    }
}

// A record's field as the row holds it: blanks at either end belong to the name; a cell of
// blanks alone is an empty field.
QString asField(const QString &cell)
{
    return cell.trimmed().isEmpty() ? QString() : cell;
}

void checkRecord(const QueueRow &row)
{
    const std::optional<QString> record = RecordFromRow(row);
    const bool transfer = row.cmd == u"RETR" || row.cmd == u"STOR";
    if (!record) {
        // Only rows of other commands, and rows that no record can hold, are left out.
        FUZZ_CHECK(!(transfer || row.cmd == u"DELE" || row.cmd == u"RMD") || !QueueRowProblem(row).isEmpty());
        return;
    }
    FUZZ_CHECK(QueueRowProblem(row).isEmpty());
    const QueueRecord parsed = QueueRecord::parse(*record);
    FUZZ_CHECK(parsed.word() == row.cmd);
    FUZZ_CHECK(parsed.source == asField(row.source));
    if (!transfer) {
        FUZZ_CHECK(parsed.entry.isEmpty());
        return;
    }
    FUZZ_CHECK(parsed.target == asField(row.destination));
    // The entry part names the local file; the filter reads it as a name inside its folder.
    const QString name = parsed.entry.section(u'|', 1, 1).trimmed();
    FUZZ_CHECK(name == LocalFileName(row.cmd == u"RETR" ? row.destination : row.source).trimmed());
    FUZZ_CHECK(!name.isEmpty());
    FUZZ_CHECK(!name.contains(u'/') && !name.contains(u'\\'));
    FUZZ_CHECK(name != u"." && name != u"..");
    FUZZ_CHECK(RecordText::nameProblem(name).isEmpty());
    // What the grid shows of the record again.
    const QueueRow shown = RowFromRecord(*record, QStringLiteral("now"));
    FUZZ_CHECK(shown.cmd == row.cmd && shown.source == parsed.source && shown.destination == parsed.target);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QueueFile::Content content = QueueFile::parse(bytes);
    if (content.status != QueueFile::Status::Ok) {
        // A refused file says where, and loads nothing at all.
        FUZZ_CHECK(content.status == QueueFile::Status::NotText);
        FUZZ_CHECK(content.badLine >= 1 && content.badLine <= bytes.count('\n') + 1);
        FUZZ_CHECK(content.rows.isEmpty());
        return 0;
    }
    for (const QueueRow &row : content.rows) {
        checkCells(row);
        checkRecord(row);
    }

    // Written and read again: the same number of rows, and every row without an empty cell
    // exactly as it was (an empty cell comes back as one blank, which is how the format keeps
    // its place).
    const QByteArray written = QueueFile::encode(content.rows);
    const QueueFile::Content again = QueueFile::parse(written);
    FUZZ_CHECK(again.status == QueueFile::Status::Ok);
    FUZZ_CHECK(again.rows.size() == content.rows.size());
    for (qsizetype i = 0; i < content.rows.size() && i < again.rows.size(); ++i) {
        if (!hasEmptyCell(content.rows[i]))
            FUZZ_CHECK(again.rows[i] == content.rows[i]);
    }
    return 0;
}
