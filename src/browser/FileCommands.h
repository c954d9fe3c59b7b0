#pragma once

#include "BrowserSide.h"
#include "NameQuestion.h"

#include "common/ListingEntry.h"

#include <QObject>

#include <optional>

namespace Velmora {

class BrowserController;
class BrowserHost;
class MasterFTP;
class QueueRunner;
class TransferBuilders;
struct AppContext;

// The small operations on the entries of the two file grids: rename, create directory,
// "Create a file", "Open directory", refresh and the used-space calculation. The server side
// goes through the engine; the name input dialog comes in as a NameQuestion.
class FileCommands : public QObject {
    Q_OBJECT
public:
    struct Setup {
        AppContext &context;
        MasterFTP &ftp;
        QueueRunner &runner;
        TransferBuilders &builders;
        BrowserController &browser;
        NameQuestion &names;
        BrowserHost &host; // busy and idle state around a server refresh
    };

    explicit FileCommands(const Setup &setup, QObject *parent = nullptr);

    void renameEntry(BrowserSide side);
    void createDirectory(BrowserSide side);
    // The side of the focused control (grid or path box); nothing creates anything outside the
    // temporary folder. An existing entry of the name is never replaced: the command refuses
    // with a message and selects that entry.
    void createFile(std::optional<BrowserSide> focusedSide);
    void openDirectory();
    void refresh(BrowserSide side);
    void usedSpace(BrowserSide side);

    // "A file or folder named ... exists already." in the current language.
    QString existsMessage(const QString &name) const;
    QString renameExistsMessage(const QString &name) const;
    // Whether the server holds an entry at this absolute path (its folder is listed).
    bool serverEntryExists(const QString &path);
    bool localEntryExists(const QString &name) const;

private:
    // One silent connection attempt when the session is down; true when it is up.
    bool connectIfNeeded();
    QString rememberedName(BrowserSide side) const;
    EntryKind rememberedKind(BrowserSide side) const;
    QString serverPath() const;
    QString localPath() const;
    QString remotePathOf(const QString &name) const;
    void createFileLocally(const QString &emptyFile, const QString &name);
    void createFileOnServer(const QString &emptyFile, const QString &name);
    QString text(const QString &english, const QString &german) const;

    AppContext &m_context;
    MasterFTP &m_ftp;
    QueueRunner &m_runner;
    TransferBuilders &m_builders;
    BrowserController &m_browser;
    NameQuestion &m_names;
    BrowserHost &m_host;
};

} // namespace Velmora
