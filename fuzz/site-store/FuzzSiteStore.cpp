// libFuzzer target for the site store "ftp_connections.bin": any bytes load without a crash;
// every field of a loaded site can be stored again; a line whose password cannot be read is
// reported and keeps its site; and saving loses nothing: what was loaded is saved and read back
// (in name order; an empty field between two others as one blank, which is how the store keeps
// its place), and from the second save on each site is there once and every save writes the
// same bytes.
#include "sites/ConnectionStore.h"
#include "sites/FTPConnection.h"

#include "app/ProtocolLog.h"
#include "common/RecordText.h"

#include "../FuzzCheck.h"
#include "../FuzzFolder.h"

#include <QByteArray>
#include <QFile>

#include <cstdint>

using namespace Velmora;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

// The site as the store gives it back: an empty field between two separators reads as one
// blank; the password, the first and the last field stay empty.
FTPConnection stored(FTPConnection site)
{
    for (int i = FTPConnection::HostField; i < FTPConnection::ModeField; ++i) {
        if (i != FTPConnection::PasswordField && site.field(i).isEmpty())
            site.setField(i, QStringLiteral(" "));
    }
    return site;
}

bool hasErrorLine(const ProtocolLog &log)
{
    for (const ProtocolEntry &entry : log.entries()) {
        if (entry.kind == ProtocolEntry::Error && !entry.text.isEmpty())
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 16 * 1024)
        return 0;
    const QString base = fuzzFolder();
    FUZZ_CHECK(!base.isEmpty());
    QFile::remove(base + ConnectionStore::FileName + ConnectionStore::DamagedCopySuffix);

    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    writeAll(base + ConnectionStore::FileName, bytes);
    ProtocolLog log(base);
    ConnectionStore store(base, &log);
    store.LoadConnections();
    const QList<FTPConnection> loaded = store.sites();
    for (const FTPConnection &site : loaded) {
        for (int i = 0; i < FTPConnection::FieldCount; ++i) {
            const QString field = site.field(i);
            FUZZ_CHECK(!field.contains(u'\r') && !field.contains(u'\n'));
            if (i != FTPConnection::PasswordField)
                FUZZ_CHECK(!field.contains(RecordText::EntrySeparator));
        }
    }
    // A damaged password is reported, and the file as it was is kept aside.
    if (hasErrorLine(log))
        FUZZ_CHECK(readAll(base + ConnectionStore::FileName + ConnectionStore::DamagedCopySuffix) == bytes);

    FUZZ_CHECK(store.SaveConnections());
    const QList<FTPConnection> saved = store.sites();
    QList<FTPConnection> expected;
    for (const FTPConnection &site : loaded)
        expected.append(stored(site));
    for (const FTPConnection &site : saved)
        FUZZ_CHECK(expected.contains(site));
    for (const FTPConnection &site : expected)
        FUZZ_CHECK(saved.contains(site));
    // Saved again, the sites read back the same, each once (two lines that differed only in a
    // missing against an empty field read the same after the first save, and now collapse),
    // and from then on the file is written byte for byte alike.
    FUZZ_CHECK(store.SaveConnections());
    const QList<FTPConnection> again = store.sites();
    for (const FTPConnection &site : again)
        FUZZ_CHECK(saved.contains(site));
    for (const FTPConnection &site : saved)
        FUZZ_CHECK(again.contains(site));
    for (qsizetype i = 0; i < again.size(); ++i) {
        for (qsizetype j = i + 1; j < again.size(); ++j)
            FUZZ_CHECK(!(again[i] == again[j]));
    }
    const QByteArray second = readAll(base + ConnectionStore::FileName);
    FUZZ_CHECK(store.SaveConnections());
    FUZZ_CHECK(store.sites() == again);
    FUZZ_CHECK(readAll(base + ConnectionStore::FileName) == second);
    return 0;
}
