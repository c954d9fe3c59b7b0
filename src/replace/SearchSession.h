#pragma once

#include "SearchEntry.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace Velmora {

// The search window's state on plain records: the rows read from "SEARCH_QUEUE.TXT", the
// upload and download records it prepares for the run that follows it, the local copy-back and
// its counter, the closing action and the may-close switch.
class SearchSession {
public:
    enum class Action { GoTo = 0, Transfer = 1 };


    // The rows of the hand-over file: "RETR" and "STOR" lines whose working copy exists as a
    // file; the working copy is the local path with the local path box's folder replaced by the
    // download folder. lastCommand() tells the side by the file's last line.
    void load(const QStringList &lines, const QString &localPathBox, const QString &downloadFolder);
    QList<SearchEntry> &entries() { return m_entries; }
    const QList<SearchEntry> &entries() const { return m_entries; }
    // The records the window prepared: uploads of changed server files, or the transfers of
    // changed rows.
    const QStringList &transferRecords() const { return m_transfers; }
    void clearTransferRecords() { m_transfers.clear(); }
    QueueCommand lastCommand() const { return m_lastCommand; }
    bool isServerSide() const { return m_lastCommand == QueueCommand::Retr; }

    // The local path of a row: the other path of a "RETR" row, the shown path of a "STOR" row.
    static QString localPath(const SearchEntry &entry);
    // "STOR|" working copy "|" remote file "§1|" name "|" size "|" date: a changed server file
    // going back.
    static QString uploadRecord(const SearchEntry &entry);
    // The record that downloads a "RETR" row or uploads a "STOR" row with the real local paths.
    static QString transferRecord(const SearchEntry &entry);

    void clearMarks();
    // Rows that are marked and selected: what an apply changed.
    QList<int> changedRows() const;

    // Appends an upload record per changed row (or for one row) and drops duplicates; returns
    // the number of records prepared, the server side's changed count.
    int queueUploads();
    int queueUpload(const SearchEntry &entry);
    // Copies each changed row's working copy over its local file and stamps the local file with
    // the current time; the counter grows per copy, failed or not. Returns the counter.
    int copyBack();
    int copyBack(const SearchEntry &entry);
    // The local side's changed count, for the label.
    int localChanged() const { return m_localChanged; }
    int addLocalChanged() { return ++m_localChanged; }
    // The prepared records become one download or upload record per changed row.
    void queueTransfers();

    // The server's bytes of a working copy that this window has changed: nothing goes up while
    // the window is open, so they are what the copy held before its first change, kept in the
    // backup made for that change. Every later backup of the file must hold them too. Empty
    // while the copy is as the server has it.
    QString serverCopyOf(const QString &workingCopy) const { return m_serverCopies.value(workingCopy); }
    // The first place named for a copy stays.
    void rememberServerCopy(const QString &workingCopy, const QString &path);

    // The backup folders this opening of the window made, in order.
    QStringList backupFolders;

    // Reset on every opening of the window.
    void reset();
    Action action = Action::GoTo;
    bool mayClose = true;
    bool anyFileWritten = false;
    int chosenRow = -1;
    QString chosenRemoteFile;
    QString chosenLocalFile;

private:
    QStringList m_transfers;
    QList<SearchEntry> m_entries;
    QHash<QString, QString> m_serverCopies;
    QueueCommand m_lastCommand = QueueCommand::None;
    int m_localChanged = 0;
};

} // namespace Velmora
