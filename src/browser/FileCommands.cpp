#include "FileCommands.h"

#include "BrowserController.h"
#include "BrowserHost.h"
#include "FileGridPane.h"
#include "FileGridView.h"
#include "LocalBrowser.h"
#include "LocalFileOperations.h"
#include "LocalPath.h"

#include "app/AppContext.h"
#include "app/UserPrompts.h"
#include "common/RemotePath.h"
#include "common/ListingEntry.h"
#include "engine/MasterFTP.h"
#include "queue/QueueRunner.h"
#include "queue/TransferBuilders.h"

#include <QFile>
#include <QFileInfo>

namespace Velmora {

FileCommands::FileCommands(const Setup &setup, QObject *parent)
    : QObject(parent)
    , m_context(setup.context)
    , m_ftp(setup.ftp)
    , m_runner(setup.runner)
    , m_builders(setup.builders)
    , m_browser(setup.browser)
    , m_names(setup.names)
    , m_host(setup.host)
{
}

QString FileCommands::text(const QString &english, const QString &german) const
{
    return m_context.text(english, german);
}

QString FileCommands::existsMessage(const QString &name) const
{
    return text(QStringLiteral("A file or folder named \"%1\" exists already. Nothing was created."),
                QStringLiteral("Eine Datei oder ein Ordner mit dem Namen \"%1\" existiert bereits. Es wurde nichts erstellt."))
        .arg(name);
}

QString FileCommands::renameExistsMessage(const QString &name) const
{
    return text(QStringLiteral("A file or folder named \"%1\" exists already. Nothing was renamed."),
                QStringLiteral("Eine Datei oder ein Ordner mit dem Namen \"%1\" existiert bereits. Es wurde nichts umbenannt."))
        .arg(name);
}

bool FileCommands::serverEntryExists(const QString &path)
{
    // Asked of the server in the folder the path leads to, not of the grid: a new name such as
    // "sub/b.txt" or "../top.txt" names an entry of another folder, the grid may be older, and
    // it shows a link as "name -> target".
    const QString parent = RemoteParentPath(path);
    const QString name = RemoteLastSegment(path);
    QList<ListingEntry> entries;
    m_ftp.GetListing(parent.isEmpty() ? QStringLiteral("/") : parent, entries);
    for (const ListingEntry &entry : std::as_const(entries)) {
        if (entry.name == name)
            return true;
    }
    return false;
}

bool FileCommands::localEntryExists(const QString &name) const
{
    const QString folder = localPath();
    if (LocalPath::isDriveList(folder))
        return false;
    const QFileInfo entry(folder + name);
    return entry.exists() || entry.isSymLink();
}

bool FileCommands::connectIfNeeded()
{
    if (!m_ftp.isConnected())
        m_ftp.Connect(false);
    return m_ftp.isConnected();
}

QString FileCommands::rememberedName(BrowserSide side) const
{
    const FileGridPane &pane = m_browser.pane(side);
    const int row = pane.rememberedRow();
    return row >= 0 && row < pane.model().rowCount() ? pane.model().nameAt(row) : QString();
}

EntryKind FileCommands::rememberedKind(BrowserSide side) const
{
    const FileGridPane &pane = m_browser.pane(side);
    const int row = pane.rememberedRow();
    return row >= 0 && row < pane.model().rowCount() ? pane.model().kindAt(row) : EntryKind::File;
}

QString FileCommands::serverPath() const
{
    // The folder the grid shows; the path box may hold a text the user has not entered yet.
    return m_browser.pane(BrowserSide::Server).folder();
}

QString FileCommands::localPath() const
{
    const QString folder = m_browser.pane(BrowserSide::Local).folder();
    return LocalPath::isDriveList(folder) ? LocalPath::DriveListText : IncludeTrailingBackslash(folder);
}

QString FileCommands::remotePathOf(const QString &name) const
{
    return NormaliseRemotePath(serverPath() + u'/' + name);
}

void FileCommands::renameEntry(BrowserSide side)
{
    if (!m_browser.CheckSelection(side, SelectionRule::AFileOrDirectory))
        return;
    const bool server = side == BrowserSide::Server;
    if (server && !connectIfNeeded())
        return;
    QString oldName = rememberedName(side);
    if (server)
        oldName = ListingEntry::ownName(oldName, EntryKind::Link).toString();
    const std::optional<QString> newName = m_names.askName(
        {text(QStringLiteral("Rename"), QStringLiteral("Umbenennen")), text(QStringLiteral("New name:"), QStringLiteral("Neuer Name:")),
         oldName});
    if (!newName)
        return;
    FileGridPane &pane = m_browser.pane(side);
    // A rename never replaces an entry: the server would drop the one of the new name.
    const QString oldPath = ResolveRemotePath(serverPath(), oldName);
    const QString newPath = ResolveRemotePath(serverPath(), *newName);
    const bool taken = server ? newPath != oldPath && serverEntryExists(newPath)
                              : *newName != oldName && localEntryExists(*newName);
    if (taken) {
        m_context.prompts.information(renameExistsMessage(*newName));
        return;
    }
    if (server) {
        m_runner.RenameRemote(oldPath, newPath); // exactly the paths that were checked
        m_browser.FillServerGrid(serverPath());
        m_browser.SelectRowByName(side, *newName);
        // The entry under its new name stays selected when the grid takes the focus again.
        const int row = pane.view()->currentIndex().row();
        pane.selectRow(row < 0 ? pane.rememberedRow() : row);
    } else {
        const QString folder = localPath();
        if (LocalPath::isDriveList(folder))
            return;
        LocalFileOperations::rename(folder, oldName, *newName); // failures show as the unchanged grid
        m_browser.FillLocalGrid(folder);
        m_browser.SelectRowByName(side, *newName);
    }
}

void FileCommands::createDirectory(BrowserSide side)
{
    const bool server = side == BrowserSide::Server;
    if (server && !connectIfNeeded())
        return;
    const std::optional<QString> name = m_names.askName(
        {text(QStringLiteral("Create directory"), QStringLiteral("Ordner erstellen")),
         text(QStringLiteral("New directory name:"), QStringLiteral("Neuer Ordner Name:")), QString()});
    if (!name)
        return;
    if (server) {
        m_runner.MakeRemoteDir(remotePathOf(*name)); // an existing folder is left as it is
        m_browser.FillServerGrid(serverPath());
    } else {
        const QString folder = localPath();
        if (LocalPath::isDriveList(folder))
            return; // the drive list is no folder to create anything in
        LocalFileOperations::createDirectory(folder, *name);
        m_browser.FillLocalGrid(folder);
    }
    m_browser.SelectRowByName(side, *name);
}

void FileCommands::createFile(std::optional<BrowserSide> focusedSide)
{
    const std::optional<QString> name =
        m_names.askName({QStringLiteral("Create file"), QStringLiteral("New file name"), QString()});
    if (!name)
        return;
    const QString emptyFile = m_context.folders.tempFolder + *name;
    QFile::remove(emptyFile); // a copy left behind by an earlier attempt
    if (LocalFileOperations::createEmptyFile(emptyFile) != LocalFileOperations::CreateFileResult::Created) {
        m_context.prompts.information(text(QStringLiteral("The file \"%1\" could not be created."),
                                           QStringLiteral("Die Datei \"%1\" konnte nicht erstellt werden."))
                                          .arg(*name));
        return;
    }
    if (focusedSide == BrowserSide::Local) {
        createFileLocally(emptyFile, *name);
    } else if (focusedSide == BrowserSide::Server) {
        if (!connectIfNeeded())
            return; // the empty file stays in the temporary folder
        createFileOnServer(emptyFile, *name);
    }
    QFile::remove(emptyFile);
}

void FileCommands::createFileLocally(const QString &emptyFile, const QString &name)
{
    const QString folder = localPath();
    if (LocalPath::isDriveList(folder))
        return;
    const auto result = LocalFileOperations::copyNew(emptyFile, folder + name);
    if (result == LocalFileOperations::CreateFileResult::AlreadyExists)
        m_context.prompts.information(existsMessage(name));
    m_browser.FillLocalGrid(folder);
    m_browser.SelectRowByName(BrowserSide::Local, name);
}

void FileCommands::createFileOnServer(const QString &emptyFile, const QString &name)
{
    const QString remote = remotePathOf(name);
    // The upload would replace a file of that name without asking.
    if (m_ftp.RemoteFileExists(remote))
        m_context.prompts.information(existsMessage(name));
    else
        m_runner.UploadFile(emptyFile, remote);
    m_browser.FillServerGrid(serverPath());
    m_browser.SelectRowByName(BrowserSide::Server, name);
}

void FileCommands::openDirectory()
{
    const QString folder = m_context.prompts.chooseFolder(QString(), QString(), true);
    if (folder.isEmpty())
        return;
    const QString path = IncludeTrailingBackslash(folder);
    m_browser.pane(BrowserSide::Local).setPathText(path);
    m_browser.FillLocalGrid(path);
}

void FileCommands::refresh(BrowserSide side)
{
    FileGridPane &pane = m_browser.pane(side);
    if (side == BrowserSide::Local) {
        m_browser.FillLocalGrid(pane.folder());
    } else {
        if (!connectIfNeeded())
            return;
        m_host.setBusyState();
        m_browser.FillServerGrid(pane.folder());
        m_host.setIdleState();
    }
    pane.restoreRememberedRow();
}

void FileCommands::usedSpace(BrowserSide side)
{
    if (!m_browser.CheckSelection(side, SelectionRule::AFileOrDirectory))
        return;
    if (side == BrowserSide::Server) {
        if (!connectIfNeeded())
            return;
        m_builders.UsedSpace(GridSide::Server);
    } else {
        m_builders.UsedSpace(GridSide::Local);
    }
    FileGridPane &pane = m_browser.pane(side);
    const int remembered = pane.rememberedRow();
    m_browser.FillLocalGrid(m_browser.pane(BrowserSide::Local).folder());
    pane.selectRow(remembered);
}

} // namespace Velmora
