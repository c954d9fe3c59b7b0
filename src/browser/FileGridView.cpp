#include "FileGridView.h"

#include "DropRule.h"
#include "FileGridModel.h"

#include "app/TypeAheadKey.h"

#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>

namespace Velmora {

FileGridView::FileGridView(QWidget *parent)
    : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setAlternatingRowColors(true);
    setWordWrap(false);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(20);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsMovable(false);
    // A single click must not flip the sort mark: sorting follows header double clicks only.
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setMinimumSectionSize(8);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(false);
}

void FileGridView::setTypeAhead(TypeAheadSearch *search, int searchColumn)
{
    m_typeAhead = search;
    m_searchColumn = searchColumn;
}

void FileGridView::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
        event->accept();
        Q_EMIT enterPressed();
        return;
    }
    if (commandKey && commandKey(key, event->modifiers())) {
        event->accept();
        return;
    }
    if (key == Qt::Key_A && modifiers == Qt::ControlModifier) {
        selectAll();
        event->accept();
        return;
    }
    if (m_typeAhead && TypeAheadKey(*m_typeAhead, *this, m_searchColumn, *event)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

QByteArray FileGridView::dragMark() const
{
    // This process and this grid: a drag from another program or from another grid never
    // matches, even when it carries the same format.
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' + QByteArray::number(quintptr(this));
}

QMimeData *FileGridView::dragMimeData() const
{
    auto *data = new QMimeData;
    data->setData(DragMimeType, dragMark());
    return data;
}

bool FileGridView::acceptsDrop(const QMimeData *data) const
{
    return m_partner && data && data->hasFormat(DragMimeType) && data->data(DragMimeType) == m_partner->dragMark();
}

void FileGridView::startDrag(Qt::DropActions)
{
    if (dragAllowed && !dragAllowed())
        return;
    if (!model() || model()->rowCount() == 0 || !selectionModel()->hasSelection())
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(dragMimeData());
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

bool FileGridView::trackDrop(const QPoint &position, bool selectFolderRow)
{
    const auto *rows = qobject_cast<const FileGridModel *>(model());
    if (!rows)
        return false;
    const int row = indexAt(position).row();
    const FileGridEntry *entry = row >= 0 && row < rows->rowCount() ? &rows->entryAt(row) : nullptr;
    const DropTarget target = DropTargetFor(rows->side(), entry);
    m_dropFolder = target.refused ? QString() : target.folder;
    if (selectFolderRow && !m_dropFolder.isEmpty())
        SelectGridRow(*this, row, 1);
    return !target.refused;
}

void FileGridView::dragEnterEvent(QDragEnterEvent *event)
{
    if (!acceptsDrop(event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void FileGridView::dragMoveEvent(QDragMoveEvent *event)
{
    if (!acceptsDrop(event->mimeData())) {
        event->ignore();
        return;
    }
    setFocus(Qt::OtherFocusReason);
    clearSelection();
    // Near the top or bottom edge the grid scrolls, so folder rows out of view can be reached.
    const QPoint at = event->position().toPoint();
    const QRect area = viewport()->rect();
    if (hasAutoScroll() && (at.y() < area.top() + autoScrollMargin() || at.y() > area.bottom() - autoScrollMargin()))
        startAutoScroll();
    if (!trackDrop(at, true)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void FileGridView::dragLeaveEvent(QDragLeaveEvent *event)
{
    stopAutoScroll();
    m_dropFolder.clear();
    event->accept();
}

void FileGridView::dropEvent(QDropEvent *event)
{
    stopAutoScroll();
    if (!acceptsDrop(event->mimeData()) || !trackDrop(event->position().toPoint(), false)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    const QString folder = m_dropFolder;
    m_dropFolder.clear();
    Q_EMIT rowsDropped(folder);
}

void FileGridView::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    Q_EMIT focusReceived(event->reason());
}

} // namespace Velmora
