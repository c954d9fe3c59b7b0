// The listing part of MasterFTP: GetListing and RemoteFileExists.
#include "MasterFTP.h"
#include "SftpSessionClient.h"
#include "common/RecordText.h"

#include "engine/ftp/FtpError.h"
#include "engine/ftp/ListingBuilder.h"
#include "engine/ftp/ListingDate.h"
#include "engine/ftp/ListingLine.h"
#include "engine/ftp/ListingRecord.h"

#include "app/Options.h"
#include "app/ProtocolLog.h"
#include "common/ListingEntry.h"
#include "common/RemotePath.h"

namespace Velmora {

namespace {

QStringList convertedLines(const QStringList &lines)
{
    QStringList out;
    out.reserve(lines.size());
    for (const QString &line : lines)
        out.append(ConvertMsDosLine(line));
    return out;
}

} // namespace

bool MasterFTP::GetListing(const QString &path, QStringList &records)
{
    EnsureConnected();
    // A folder name may end in a blank ("/site " is not "/site"): only blanks before the path go,
    // and a path of blanks around "/" alone is the root (no listed name is made of blanks only).
    QString folder = path;
    while (!folder.isEmpty() && folder.front().isSpace())
        folder.remove(0, 1);
    if (folder.trimmed().isEmpty() || folder.trimmed() == u"/")
        folder = QStringLiteral("/");
    m_currentItem = QStringLiteral("Retrieve directory listing ") + folder;
    const bool logfiles = m_options.data().logfiles;
    try {
        m_client->changeDirectory(folder);
        if (m_client->listsEntries()) {
            records = entryRecords(m_client->listEntries(), logfiles);
            if (m_client == m_sftpClient.get()) {
                for (const QString &name : m_sftpClient->unusableNames())
                    log(ProtocolEntry::Error, text(QStringLiteral("Skipped a name the server listed that is no valid UTF-8: "),
                                                   QString::fromUtf8("Übersprungen: ein vom Server gelisteter Name, der kein gültiges UTF-8 ist: "))
                                                  + RecordText::printable(name));
            }
            m_currentItem.clear();
            return true;
        }

        // First pass: the names beginning with a dot. A server that refuses the specifier makes
        // the pass void; the plain second pass then gives the whole listing.
        ListingPass first;
        try {
            first.lines = m_client->list(QStringLiteral(".*"));
            first.dates = m_client->listedDates();
        } catch (const FtpError &error) {
            if (!error.isRefusal())
                throw;
            first.refused = true;
        }
        if (logfiles)
            m_log.WriteLogFile(QStringLiteral("DirectoryListing_1.log"), convertedLines(first.lines));

        ListingPass second;
        second.lines = m_client->list();
        second.dates = m_client->listedDates();

        const ListingResult result = BuildListing(first, second, RecordDateText(QDate::currentDate()), logfiles);
        if (logfiles) {
            m_log.WriteLogFile(QStringLiteral("DirectoryListing_2.log"), result.secondPassLog);
            m_log.WriteLogFile(QStringLiteral("DirectoryListing_Complete.log"), result.completeLog);
        }
        for (const QString &name : result.refusedNames)
            log(ProtocolEntry::Error, unsafeNameText() + RecordText::printable(name));
        records = result.records;
    } catch (const FtpError &) {
        log(ProtocolEntry::Error, ListingFailedText);
        m_currentItem = ListingFailedText;
        return false;
    }
    m_currentItem.clear();
    return true;
}

QString MasterFTP::unsafeNameText() const
{
    return text(QStringLiteral("Skipped a name the server listed that cannot be used safely: "),
                QString::fromUtf8("Übersprungen: ein vom Server gelisteter Name, der nicht sicher verwendet werden kann: "));
}

QStringList MasterFTP::entryRecords(const QList<ListingEntry> &entries, bool logfiles)
{
    // The entries come typed from the server: their names are exact, and only the rule that no
    // record may carry certain names applies, as for listing lines.
    QStringList records;
    records.reserve(entries.size());
    for (const ListingEntry &entry : entries) {
        const QString listed = entry.listedName();
        if (!ListingNameProblem(listed, entry.kind == EntryKind::Link).isEmpty()) {
            log(ProtocolEntry::Error, unsafeNameText()
                                          + RecordText::printable(listed));
            continue;
        }
        records.append(entry.format());
    }
    SortListingRecords(records);
    if (logfiles)
        m_log.WriteLogFile(QStringLiteral("DirectoryListing_Complete.log"), records);
    return records;
}

bool MasterFTP::GetListing(const QString &path, QList<ListingEntry> &entries)
{
    QStringList records;
    if (!GetListing(path, records))
        return false;
    entries.clear();
    entries.reserve(records.size());
    for (const QString &record : std::as_const(records))
        entries.append(ListingEntry::parse(record));
    return true;
}

bool MasterFTP::RemoteFileExists(const QString &path)
{
    const QString parent = RemoteParentPath(path);
    QList<ListingEntry> entries;
    GetListing(parent, entries);
    const QString prefix = parent + u'/';
    for (const ListingEntry &entry : std::as_const(entries)) {
        if (prefix + entry.name == path) // a link by its own name
            return true;
    }
    return false;
}

} // namespace Velmora
