#include "FileGridView.h"

#include "app/TypeAheadKey.h"

#include <QHeaderView>
#include <QKeyEvent>

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

void FileGridView::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    Q_EMIT focusReceived(event->reason());
}

} // namespace Velmora
