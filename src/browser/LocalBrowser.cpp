#include "LocalBrowser.h"

#include "DriveListWidget.h"
#include "FileGridPane.h"
#include "FileGridView.h"
#include "LocalFolderReader.h"
#include "LocalPath.h"
#include "PathBoxFollower.h"

#include "app/Platform.h"
#include "common/Language.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QSignalBlocker>
#include <QCompleter>
#include <QDir>

namespace Velmora {

LocalBrowser::LocalBrowser(const Setup &setup, QObject *parent)
    : QObject(parent)
    , m_pane(setup.pane)
    , m_driveList(setup.driveList)
    , m_follower(new PathBoxFollower(setup.pane->pathBox()))
    , m_language(setup.language)
    , m_platform(setup.platform)
    , m_startDrive(setup.startDrive.isEmpty() ? QStringLiteral("/") : setup.startDrive)
{
    // File names differ by case here: completing the path box must too.
    if (QCompleter *completer = m_pane->pathBox()->completer())
        completer->setCaseSensitivity(Qt::CaseSensitive);
    m_driveList->hide();
    connect(setup.upButton, &QAbstractButton::clicked, this, &LocalBrowser::upButtonClicked);
    connect(setup.rootButton, &QAbstractButton::clicked, this, &LocalBrowser::rootButtonClicked);
    connect(m_follower, &PathBoxFollower::enterPressed, this, &LocalBrowser::pathEntered);
    connect(m_follower, &PathBoxFollower::entryChosen, this, &LocalBrowser::historyEntryChosen);
    connect(m_driveList, &DriveListWidget::volumeChosen, this, &LocalBrowser::volumeChosen);
}

QString LocalBrowser::text(const char16_t *english, const char16_t *german) const
{
    return m_language ? m_language->text(QString::fromUtf16(english), QString::fromUtf16(german))
                      : QString::fromUtf16(english);
}

bool LocalBrowser::isDriveListShown() const
{
    return !m_driveList->isHidden();
}

void LocalBrowser::showDriveList()
{
    m_driveList->setVolumes(m_platform ? m_platform->mountedVolumes() : QStringList{QStringLiteral("/"), QDir::homePath() + u'/'});
    m_pane->view()->hide();
    m_driveList->show();
    m_driveList->setFocus();
}

void LocalBrowser::FillLocalGrid(const QString &path)
{
    const QString wanted = LocalPath::isDriveList(path) ? LocalPath::DriveListText : LocalPath::normalise(path);
    const QString folder = LocalPath::shortenToExisting(wanted, m_startDrive);
    m_pane->setPathText(folder);
    m_pane->clearRows();
    m_listedPath = folder;
    if (folder == LocalPath::DriveListText) {
        showDriveList();
        return;
    }
    const bool hadFocus = m_driveList->hasFocus();
    m_driveList->hide();
    m_pane->view()->show();
    if (hadFocus)
        m_pane->view()->setFocus();

    LocalFolderReader::Result listing = LocalFolderReader(m_language).read(folder, true);
    m_pane->showRows(std::move(listing.rows), folder, true);
    m_pane->addToHistory(folder);
    if (listing.readable)
        m_pane->setStatusText(listing.summary.statusText(m_language));
    else
        m_pane->setStatusText(text(u"The folder cannot be read: ", u"Der Ordner kann nicht gelesen werden: ") + folder);
}

void LocalBrowser::listAndFocus(const QString &path)
{
    FillLocalGrid(path);
    if (isDriveListShown())
        return;
    m_pane->selectRow(0);
    m_pane->view()->setFocus();
}

void LocalBrowser::OpenLocalEntry()
{
    if (isDriveListShown())
        return;
    const FileGridModel &model = m_pane->model();
    const int row = m_pane->rememberedRow();
    const QString name = model.nameAt(row);
    if (name.isEmpty() || (model.kindAt(row) != EntryKind::Folder && name != u".."))
        return;
    // The rows belong to the folder that was listed, whatever has been typed into the box since.
    const QString current = m_listedPath.isEmpty() ? LocalPath::normalise(m_pane->folder()) : m_listedPath;
    if (name != u"..") {
        FillLocalGrid(current + name + u'/');
        m_pane->selectRow(0);
        return;
    }
    QString left;
    const QString parent = LocalPath::parent(current, &left);
    FillLocalGrid(parent.isEmpty() ? LocalPath::DriveListText : parent);
    if (!isDriveListShown())
        m_pane->selectRowByName(left);
}

void LocalBrowser::upButtonClicked()
{
    const QString parent = LocalPath::normalise(LocalPath::parent(LocalPath::normalise(m_pane->folder())));
    if (parent == LocalPath::DriveListText) {
        FillLocalGrid(parent);
        return;
    }
    if (LocalPath::folderExists(parent))
        listAndFocus(parent);
}

void LocalBrowser::rootButtonClicked()
{
    FillLocalGrid(LocalPath::DriveListText);
}

void LocalBrowser::pathEntered()
{
    // A folder that does not exist lists nothing: the grid and the folder its commands act on
    // stay as they are, and the box keeps what was typed.
    const QString typed = LocalPath::normalise(m_pane->pathText());
    if (typed == LocalPath::DriveListText || LocalPath::folderExists(typed)) {
        listAndFocus(typed);
        return;
    }
    const QSignalBlocker block(m_pane->pathBox());
    m_pane->pathBox()->setEditText(typed); // shown normalised, not listed

}

void LocalBrowser::historyEntryChosen(const QString &path)
{
    FillLocalGrid(path);
    if (!isDriveListShown())
        m_pane->selectRow(0);
}

void LocalBrowser::volumeChosen(const QString &path)
{
    listAndFocus(path);
}

} // namespace Velmora
