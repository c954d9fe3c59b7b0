#include "TypeAheadKey.h"

#include "TypeAheadSearch.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QKeyEvent>

namespace Velmora {

void SelectGridRow(QAbstractItemView &grid, int row, int column)
{
    QAbstractItemModel *model = grid.model();
    if (!model || row < 0 || row >= model->rowCount())
        return;
    const QModelIndex index = model->index(row, column);
    grid.selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid.scrollTo(index);
}

bool TypeAheadKey(TypeAheadSearch &search, QAbstractItemView &grid, int searchColumn, int key,
                  Qt::KeyboardModifiers modifiers, const QString &text)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)
        return false;
    if (key == Qt::Key_A && (modifiers & Qt::ControlModifier)) {
        grid.selectAll();
        return true;
    }
    // Chords with Ctrl, Alt or Meta are shortcuts, not typing.
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    QString typed;
    for (QChar c : text) {
        if (c.isPrint())
            typed += c;
    }
    if (typed.isEmpty())
        return false;

    const QString prefix = search.addText(typed);
    QAbstractItemModel *model = grid.model();
    if (!model)
        return true;
    const int row = TypeAheadSearch::findRow(
        model->rowCount(), [model, searchColumn](int r) { return model->index(r, searchColumn).data().toString(); }, prefix);
    SelectGridRow(grid, row, searchColumn);
    return true;
}

bool TypeAheadKey(TypeAheadSearch &search, QAbstractItemView &grid, int searchColumn, const QKeyEvent &event)
{
    return TypeAheadKey(search, grid, searchColumn, event.key(), event.modifiers(), event.text());
}

} // namespace Velmora
