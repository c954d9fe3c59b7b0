// libFuzzer target for one of the six site importers (VELMORA_IMPORT_KIND names it): any file
// gives sites, left-out sites and problem notes without a crash; every note says what went wrong
// in both languages; a site is taken over only when plain FTP reproduces it; and whatever is
// taken over can be stored: the store keeps no separator or line break in any field.
#include "sites/ConnectionStore.h"
#include "sites/FileZilla3Importer.h"
#include "sites/ImportText.h"
#include "sites/SiteImportResult.h"
#include "sites/SiteImporter.h"
#include "sites/SiteTransport.h"

#include "common/RecordText.h"

#include "FuzzCheck.h"
#include "FuzzFolder.h"

#include <QByteArray>
#include <QFile>

#include <cstdint>

#ifndef VELMORA_IMPORT_KIND
#error "VELMORA_IMPORT_KIND names the importer (a SiteImporter::Kind)"
#endif

using namespace Velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 32 * 1024)
        return 0;
    constexpr SiteImporter::Kind kind = SiteImporter::VELMORA_IMPORT_KIND;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = ImportLines(bytes);

    if (kind == SiteImporter::FileZilla3) {
        QString siteFile;
        if (FileZilla3Importer::SiteFilePath(lines, QStringLiteral("/defaults/"), &siteFile))
            FUZZ_CHECK(siteFile.endsWith(QStringLiteral("sitemanager.xml")));
        FileZilla3Importer::IsSiteList(lines);
    }

    const SiteImportResult result = SiteImporter::parse(kind, lines);
    for (const SiteImportResult::Problem &problem : result.problems)
        FUZZ_CHECK(!problem.english.trimmed().isEmpty() && !problem.german.trimmed().isEmpty());
    for (const FTPConnection &site : result.sites) {
        FUZZ_CHECK(SiteTransport::TakenOver(SiteTransport::FromHost(site.Host)));
        for (int i = 0; i < FTPConnection::FieldCount; ++i)
            FUZZ_CHECK(!site.field(i).contains(u'\r') && !site.field(i).contains(u'\n'));
    }
    for (const SiteImportResult::LeftOut &left : result.leftOut)
        FUZZ_CHECK(!SiteTransport::TakenOver(left.transport));

    const QString base = fuzzFolder();
    FUZZ_CHECK(!base.isEmpty());
    QFile::remove(base + ConnectionStore::FileName);
    ConnectionStore store(base);
    store.sites() = result.sites;
    FUZZ_CHECK(store.SaveConnections());
    FUZZ_CHECK(store.sites().size() <= result.sites.size());
    FUZZ_CHECK(result.sites.isEmpty() || !store.sites().isEmpty());
    for (const FTPConnection &site : store.sites()) {
        for (int i = 0; i < FTPConnection::FieldCount; ++i) {
            if (i != FTPConnection::PasswordField)
                FUZZ_CHECK(!site.field(i).contains(RecordText::EntrySeparator));
        }
    }
    return 0;
}
