#pragma once

#include "app/AppFolders.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace Velmora {

class ConnectionStore;
class Language;
class ProtocolLog;
class UserPrompts;
struct SiteImportResult;

// One import from another FTP client, start to end: asks for the client's file (or folder),
// reads it, appends the sites found to the store, saves, and tells the user what it could not
// take (the passwords, for all but FileZilla 3, and the sites the other client reaches
// encrypted or with another protocol, which are never turned into plain FTP sites).
class SiteImporter {
public:
    // In the order of the import menu.
    enum Kind { WsFtp12, CuteFtp8, FileZilla3, FileZilla2, FlashFxp3, SmartFtp4 };
    static constexpr int KindCount = 6;

    SiteImporter(UserPrompts &prompts, const Language &language, ProtocolLog *log, const AppFolders &folders);

    // True when sites were read and the store was saved; false when the user cancelled or the
    // file could not be read (then nothing is appended or saved).
    bool run(Kind kind, ConnectionStore &store);

    // The menu item's caption in the current language, and its object name.
    QString caption(Kind kind) const;
    static QString objectName(Kind kind);
    // Where the open dialog or folder picker starts: for FileZilla 3 its Linux settings folder
    // (~/.config/filezilla/) when it exists; else the client's folder of a Windows system, found
    // below this system's matching folders or a Wine prefix; the home folder otherwise.
    QString startFolder(Kind kind) const;
    // The parse of one file's lines (SmartFTP reads a folder; see SmartFtp4Importer).
    static SiteImportResult parse(Kind kind, const QStringList &lines);

    // Called with true before and false after the search through a SmartFTP folder tree (the
    // window shows the wait cursor meanwhile).
    std::function<void(bool busy)> setBusy = [](bool) {};

private:
    QString text(const QString &english, const QString &german) const;
    bool readLines(const QString &path, QStringList *lines);
    void cannotRead(const QString &path, const QString &reason);
    bool importSmartFtp(ConnectionStore &store);
    void finish(const SiteImportResult &result, ConnectionStore &store, Kind kind);
    bool readFileZilla3SiteList(const QString &chosen, QStringList *lines);
    QString leftOutMessage(const QStringList &names) const;
    QStringList folderCandidates(Kind kind) const;

    UserPrompts &m_prompts;
    const Language &m_language;
    ProtocolLog *m_log;
    AppFolders m_folders;
};

} // namespace Velmora
