// libFuzzer target for the engine's parsers: server replies (multi-line, PASV, EPSV, PWD,
// FEAT, transfer sizes), listing lines (columns, MS-DOS conversion, dates, records, the
// two-pass listing), server names, ASCII line ends and status texts. Besides not crashing,
// it checks properties that must hold for every input; above all that no listing record names
// a file outside the folder it is listed in.
#include "engine/ftp/AsciiConverter.h"
#include "engine/ftp/FtpReply.h"
#include "engine/ftp/FtpReplyParsers.h"
#include "engine/ftp/ListingBuilder.h"
#include "engine/ftp/ListingDate.h"
#include "engine/ftp/ListingLine.h"
#include "engine/ftp/ListingRecord.h"
#include "engine/ftp/ServerNameCodec.h"

#include "common/TextCodec.h"

#include "../FuzzCheck.h"

#include <QByteArray>
#include <QList>

#include <cstdint>

using namespace Velmora;

namespace {

// A listing record holds exactly six fields, nothing that breaks a record or queue row, and a
// name (for a link the part before " -> ") that stays inside its folder: no "/", no "\", not
// "." or "..".
void checkRecord(const QString &record)
{
    FUZZ_CHECK(record.count(u'|') == 5);
    FUZZ_CHECK(!record.contains(u'\u00A7') && !record.contains(u'\n') && !record.contains(u'\r'));
    const QStringList fields = record.split(u'|');
    QString name = fields[1];
    if (fields[0] == u"2" && name.contains(u" -> "))
        name = name.left(name.indexOf(u" -> "));
    FUZZ_CHECK(!name.isEmpty());
    FUZZ_CHECK(!name.contains(u'/') && !name.contains(u'\\'));
    FUZZ_CHECK(name != u"." && name != u"..");
}

QList<QByteArray> splitLines(const QByteArray &data)
{
    QList<QByteArray> lines = data.split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

void fuzzReplies(const QList<QByteArray> &lines)
{
    FtpReplyReader reader;
    for (const QByteArray &line : lines) {
        const auto pasv = ParsePasvReply(line);
        FUZZ_CHECK(!pasv || pasv->port != 0);
        const auto epsv = ParseEpsvReply(line);
        FUZZ_CHECK(!epsv || *epsv != 0);
        ParsePwdReply(line);
        FUZZ_CHECK(AnnouncedTransferSize(line) >= -1); // -1: the reply names no size
        switch (reader.addLine(line)) {
        case FtpReplyReader::State::Complete: {
            const FtpReply reply = reader.take();
            FUZZ_CHECK(reply.code >= 100 && reply.code <= 599 && !reply.lines.isEmpty());
            reply.text();
            reply.message();
            ParseFeatures(reply);
            break;
        }
        case FtpReplyReader::State::Malformed:
            FUZZ_CHECK(!reader.isInsideReply());
            break;
        case FtpReplyReader::State::NeedMore:
            FUZZ_CHECK(reader.isInsideReply());
            break;
        }
    }
}

void fuzzListing(const QList<QByteArray> &lines, bool utf8)
{
    ServerNameCodec codec;
    codec.setUtf8(utf8);
    const QDate today(2026, 3, 15);
    ListingPass first;
    ListingPass second;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        ServerNameCodec fresh;
        fresh.setUtf8(utf8);
        const QString line = codec.decodeListingLine(lines[i]);
        // A name goes back to the server as the bytes it came as.
        if (!utf8 || TextCodec::IsValidUtf8(lines[i]))
            FUZZ_CHECK(fresh.encode(fresh.decodeListingLine(lines[i])) == lines[i]);
        codec.encode(line);

        const QString converted = ConvertMsDosLine(line);
        FUZZ_CHECK(ConvertMsDosLine(converted) == converted);
        SplitListingLine(line);
        EntryType(line);
        IsListingSummaryLine(line);
        const QDateTime date = ParseListingDate(line, today);
        const ListingRecordResult built = BuildListingRecord(converted, date, QStringLiteral("15.03.2026"));
        if (built.outcome == ListingRecordResult::Record)
            checkRecord(built.record);
        FallbackEntryDate(SplitListingLine(line).column[6], ListingMonth(SplitListingLine(line).column[5]), line);
        ListingPass &pass = i % 2 ? second : first;
        pass.lines.append(line);
        pass.dates.append(date);
    }
    const ListingResult result = BuildListing(first, second, QStringLiteral("15.03.2026"));
    FUZZ_CHECK(result.records.size() <= result.completeLog.size());
    for (const QString &record : result.records)
        checkRecord(record);
}

void fuzzAscii(const QByteArray &data)
{
    const qsizetype cut = data.isEmpty() ? 0 : static_cast<unsigned char>(data[0]) % (data.size() + 1);
    for (auto direction : {AsciiConverter::Direction::ToLocal, AsciiConverter::Direction::ToNetwork}) {
        AsciiConverter whole(direction);
        const QByteArray once = whole.convert(data) + whole.finish();
        AsciiConverter parts(direction);
        const QByteArray split = parts.convert(data.left(cut)) + parts.convert(data.mid(cut)) + parts.finish();
        FUZZ_CHECK(once == split);
        if (direction == AsciiConverter::Direction::ToNetwork) {
            // Every LF leaves with a CR before it, and downloading it again gives the input
            // back when the input had no CR LF of its own.
            for (qsizetype i = 0; i < once.size(); ++i)
                FUZZ_CHECK(once[i] != '\n' || (i > 0 && once[i - 1] == '\r'));
            if (!data.contains("\r\n") && !data.endsWith('\r')) {
                AsciiConverter back(AsciiConverter::Direction::ToLocal);
                FUZZ_CHECK(back.convert(once) + back.finish() == data);
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QByteArray> lines = splitLines(bytes);
    fuzzReplies(lines);
    fuzzListing(lines, false);
    fuzzListing(lines, true);
    fuzzAscii(bytes);
    return 0;
}
