#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace Velmora {

class BackupStore;
class SearchSession;
class SearchWindowHost;
struct AppContext;
struct BackupOperation;
struct SearchEntry;

// The backups of one search window: each holds the files its work changed as the server (or
// the local folder) had them before that work. On the server side nothing goes up while the
// window is open, so a file changed twice is backed up both times with the server's bytes,
// never with an earlier change of the window.
class SearchBackups {
public:
    SearchBackups(const AppContext &context, SearchSession &session);
    void attach(BackupStore &store, SearchWindowHost &host);

    // The next numbered backup of every working copy; its folder, or empty (after a message)
    // when it is not complete, and then nothing may be changed.
    QString make(const QString &kind, const BackupOperation &operation);
    // After an apply: the backup keeps only the changed files; on the server side each with
    // the server's bytes.
    void keepChanged(const QString &backup, bool onServer);
    // After an edit in the editor: the backup keeps only the edited file, with the bytes it had
    // before the edit (original), or on the server side with the server's bytes.
    void keepEdited(const QString &backup, const SearchEntry &entry, const QByteArray &original, bool onServer);
    // After the upload back: these working copies did not go up and the server kept its files
    // as they were, so the backups of this opening no longer hold them.
    void forgetUntouched(const QStringList &workingCopies);

    // Where the entry's working copy lies in a backup folder (relative), or empty.
    QString inBackup(const SearchEntry &entry) const;

private:
    void reportNotCopied(const QString &relative) const;

    const AppContext &m_context;
    SearchSession &m_session;
    BackupStore *m_store = nullptr;
    SearchWindowHost *m_host = nullptr;
};

} // namespace Velmora
