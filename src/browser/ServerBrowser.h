#pragma once

#include <QObject>
#include <QString>

class QAbstractButton;

namespace Velmora {

class BrowserHost;
class FileGridPane;
class Language;
class PathBoxFollower;
class RemoteListingSource;

// The server pane: listing a server folder into the grid (FillServerGrid), opening rows, the
// ".." and "/" buttons, Enter and the history in the path box. Every change of the server folder
// empties the queue grid, and runs between the busy and the idle state.
class ServerBrowser : public QObject {
    Q_OBJECT
public:
    struct Setup {
        FileGridPane *pane = nullptr;
        QAbstractButton *rootButton = nullptr; // "/"
        QAbstractButton *upButton = nullptr;   // ".."
        RemoteListingSource *source = nullptr;
        const Language *language = nullptr;
    };

    ServerBrowser(const Setup &setup, BrowserHost &host, QObject *parent = nullptr);

    FileGridPane &pane() const { return *m_pane; }
    PathBoxFollower &follower() const { return *m_follower; }
    void setSource(RemoteListingSource *source) { m_source = source; }
    RemoteListingSource *source() const { return m_source; }
    QString listedPath() const { return m_listedPath; }

    // Lists a server folder. Not connected: one silent connection attempt when a host is known,
    // else (or when it fails) the grid keeps its rows. A failed listing leaves only the ".." row
    // and the old status line.
    void FillServerGrid(const QString &path);
    // Double click or Enter in the grid: a folder is opened, ".." goes up and selects the folder
    // that was left, a file does nothing.
    void OpenServerEntry();
    void upButtonClicked();
    void rootButtonClicked();
    void pathEntered();
    void historyEntryChosen(const QString &path);
    // The session ended: no rows, no status, no sort mark.
    void clearGrid();

    // "\" becomes "/", "//" becomes "/", no trailing "/" but for the root; nothing (or blanks
    // only) means "/". Blanks inside and at the ends of names are kept.
    static QString normalisePath(const QString &path);

private:
    bool ensureConnected();
    // Busy state, queue grid emptied, listed, idle state, first row selected, grid focused.
    void changeFolder(const QString &path);

    FileGridPane *m_pane;
    PathBoxFollower *m_follower;
    RemoteListingSource *m_source;
    const Language *m_language;
    BrowserHost &m_host;
    QString m_listedPath;
};

} // namespace Velmora
