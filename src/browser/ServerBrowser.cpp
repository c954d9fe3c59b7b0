#include "ServerBrowser.h"

#include "BrowserHost.h"

#include "FileGridColumns.h"
#include "FileGridPane.h"
#include "FileGridView.h"
#include "PathBoxFollower.h"
#include "RemoteListingSource.h"
#include "ServerListingEntries.h"

#include "common/RemotePath.h"
#include "common/Word.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>

namespace Velmora {

ServerBrowser::ServerBrowser(const Setup &setup, BrowserHost &host, QObject *parent)
    : QObject(parent)
    , m_pane(setup.pane)
    , m_follower(new PathBoxFollower(setup.pane->pathBox()))
    , m_source(setup.source)
    , m_language(setup.language)
    , m_host(host)
{
    connect(setup.upButton, &QAbstractButton::clicked, this, &ServerBrowser::upButtonClicked);
    connect(setup.rootButton, &QAbstractButton::clicked, this, &ServerBrowser::rootButtonClicked);
    connect(m_follower, &PathBoxFollower::enterPressed, this, &ServerBrowser::pathEntered);
    connect(m_follower, &PathBoxFollower::entryChosen, this, &ServerBrowser::historyEntryChosen);
}

QString ServerBrowser::normalisePath(const QString &path)
{
    // Blanks are kept: a server folder may end in one ("site " beside "site").
    const QString normal = path.trimmed().isEmpty() ? QString() : NormaliseRemotePath(path);
    return normal.isEmpty() ? QStringLiteral("/") : normal;
}

bool ServerBrowser::ensureConnected()
{
    if (!m_source)
        return false;
    return m_source->isConnected() || m_source->connectQuietly();
}

void ServerBrowser::FillServerGrid(const QString &path)
{
    if (!m_source)
        return;
    if (!m_source->isConnected() && !(m_source->hasHost() && m_source->connectQuietly()))
        return;
    const QString folder = normalisePath(path);
    m_pane->setPathText(folder);
    m_listedPath = folder;
    m_pane->clearRows();

    std::vector<FileGridEntry> rows;
    if (WordCount(folder, u"/") > 0)
        rows.push_back(FileGridEntry::parentRow());
    QStringList records;
    if (!m_source->list(folder, records)) {
        m_pane->model().setRows(std::move(rows));
        return;
    }
    ServerListingEntries::Result listing = ServerListingEntries(m_language).convert(records);
    rows.reserve(rows.size() + listing.rows.size());
    for (FileGridEntry &entry : listing.rows)
        rows.push_back(std::move(entry));
    m_pane->showRows(std::move(rows), QString(), false);
    m_pane->addToHistory(folder);
    m_pane->setStatusText(listing.summary.statusText(m_language));
}

void ServerBrowser::changeFolder(const QString &path)
{
    m_host.setBusyState();
    m_pane->setPathText(path);
    m_host.clearQueueGrid();
    FillServerGrid(path);
    m_host.setIdleState();
    m_pane->selectRow(0);
    m_pane->view()->setFocus();
}

void ServerBrowser::OpenServerEntry()
{
    if (!ensureConnected())
        return;
    const FileGridModel &model = m_pane->model();
    const int row = m_pane->rememberedRow();
    const QString name = model.nameAt(row);
    if (name.isEmpty() || (model.kindAt(row) != EntryKind::Folder && name != u".."))
        return;
    m_host.setBusyState();
    m_host.clearQueueGrid();
    // The rows belong to the folder that was listed, whatever has been typed into the box since.
    const QString current = m_listedPath.isEmpty() ? m_pane->folder() : m_listedPath;
    QString left;
    QString next;
    if (name == u"..") {
        next = RemoteParentPath(current);
        left = RemoteLastSegment(current);
    } else {
        next = current + u'/' + name;
    }
    FillServerGrid(normalisePath(next));
    m_host.setIdleState();
    if (name == u"..")
        m_pane->selectRowByName(left);
    else
        m_pane->selectRow(0);
    m_pane->view()->setFocus();
}

void ServerBrowser::upButtonClicked()
{
    if (!ensureConnected())
        return;
    changeFolder(normalisePath(RemoteParentPath(m_pane->folder())));
}

void ServerBrowser::rootButtonClicked()
{
    if (!ensureConnected())
        return;
    changeFolder(QStringLiteral("/"));
}

void ServerBrowser::pathEntered()
{
    // Blanks around a typed path are taken for slips of the keyboard.
    changeFolder(normalisePath(m_pane->pathText().trimmed()));
}

void ServerBrowser::historyEntryChosen(const QString &path)
{
    changeFolder(normalisePath(path));
}

void ServerBrowser::clearGrid()
{
    m_pane->clearRows();
    m_pane->statusLabel()->clear();
    m_pane->view()->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_listedPath.clear();
}

} // namespace Velmora
