// libFuzzer target for the engine's parsers: server replies (multi-line, PASV, EPSV, PWD,
// FEAT, transfer sizes), listing lines (columns, MS-DOS conversion, dates, records, the
// two-pass listing), server names, ASCII line ends and status texts. Besides not crashing,
// it checks properties that must hold for every input.
#include "engine/ftp/AsciiConverter.h"
#include "engine/ftp/FtpReply.h"
#include "engine/ftp/FtpReplyParsers.h"
#include "engine/ftp/ListingBuilder.h"
#include "engine/ftp/ListingDate.h"
#include "engine/ftp/ListingLine.h"
#include "engine/ftp/ListingRecord.h"
#include "engine/ftp/ServerNameCodec.h"

#include "common/TextCodec.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <cstdlib>

using namespace Velmora;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
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
        check(!pasv || pasv->port != 0);
        const auto epsv = ParseEpsvReply(line);
        check(!epsv || *epsv != 0);
        ParsePwdReply(line);
        check(AnnouncedTransferSize(line) >= 0);
        switch (reader.addLine(line)) {
        case FtpReplyReader::State::Complete: {
            const FtpReply reply = reader.take();
            check(reply.code >= 100 && reply.code <= 599 && !reply.lines.isEmpty());
            reply.text();
            reply.message();
            ParseFeatures(reply);
            break;
        }
        case FtpReplyReader::State::Malformed:
            check(!reader.isInsideReply());
            break;
        case FtpReplyReader::State::NeedMore:
            check(reader.isInsideReply());
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
            check(fresh.encode(fresh.decodeListingLine(lines[i])) == lines[i]);
        codec.encode(line);

        const QString converted = ConvertMsDosLine(line);
        check(ConvertMsDosLine(converted) == converted);
        SplitListingLine(line);
        EntryType(line);
        IsListingSummaryLine(line);
        const QDateTime date = ParseListingDate(line, today);
        const ListingRecordResult built = BuildListingRecord(converted, date, QStringLiteral("15.03.2026"));
        if (built.outcome == ListingRecordResult::Record) {
            check(built.record.count(u'|') == 5);
            check(!built.record.contains(u'\u00A7') && !built.record.contains(u'\n') && !built.record.contains(u'\r'));
        }
        FallbackEntryDate(SplitListingLine(line).column[6], ListingMonth(SplitListingLine(line).column[5]), line);
        ListingPass &pass = i % 2 ? second : first;
        pass.lines.append(line);
        pass.dates.append(date);
    }
    const ListingResult result = BuildListing(first, second, QStringLiteral("15.03.2026"));
    check(result.records.size() <= result.completeLog.size());
    for (const QString &record : result.records)
        check(record.count(u'|') == 5);
}

void fuzzAscii(const QByteArray &data)
{
    const qsizetype cut = data.isEmpty() ? 0 : static_cast<unsigned char>(data[0]) % (data.size() + 1);
    for (auto direction : {AsciiConverter::Direction::ToLocal, AsciiConverter::Direction::ToNetwork}) {
        AsciiConverter whole(direction);
        const QByteArray once = whole.convert(data) + whole.finish();
        AsciiConverter parts(direction);
        const QByteArray split = parts.convert(data.left(cut)) + parts.convert(data.mid(cut)) + parts.finish();
        check(once == split);
        if (direction == AsciiConverter::Direction::ToNetwork) {
            // Every LF leaves with a CR before it, and downloading it again gives the input
            // back when the input had no CR LF of its own.
            for (qsizetype i = 0; i < once.size(); ++i)
                check(once[i] != '\n' || (i > 0 && once[i - 1] == '\r'));
            if (!data.contains("\r\n") && !data.endsWith('\r')) {
                AsciiConverter back(AsciiConverter::Direction::ToLocal);
                check(back.convert(once) + back.finish() == data);
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
