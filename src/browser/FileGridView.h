#pragma once

#include <QTableView>

#include <functional>

class QMimeData;

namespace Velmora {

class TypeAheadSearch;

// The file grid widget of both panes: whole-row, multi-row selection, no column moving by the
// user. Enter opens the remembered row, command keys go to the dispatcher, Ctrl+A selects every
// row, printable keys search by name; arrows and paging move as in any table.
// Selected rows can be dragged (left button held and moved the system's drag distance) to the
// partner grid, which alone accepts them: dragged over it, the folder row under the pointer is
// selected and becomes the drop folder, and a read-only server folder refuses the drop.
class FileGridView : public QTableView {
    Q_OBJECT
public:
    explicit FileGridView(QWidget *parent = nullptr);

    void setTypeAhead(TypeAheadSearch *search, int searchColumn);
    // Asked first for every key; returns true when the key started a command.
    std::function<bool(int key, Qt::KeyboardModifiers modifiers)> commandKey;
    // Asked before a drag starts; a drag never starts when it says no (the window is busy).
    std::function<bool()> dragAllowed;

    // The grid whose rows may be dropped here (the other pane's grid).
    void setDropPartner(FileGridView *partner) { m_partner = partner; }
    // What a drag of this grid's rows carries: the mark of this grid.
    QMimeData *dragMimeData() const;
    // True when the data comes from a drag of the partner grid.
    bool acceptsDrop(const QMimeData *data) const;
    // The drop folder of the drag over this grid: the folder row under the pointer, or empty.
    QString dropFolder() const { return m_dropFolder; }

    static inline const QString DragMimeType = QStringLiteral("application/x-velmora-grid-rows");

Q_SIGNALS:
    void enterPressed();
    void focusReceived(Qt::FocusReason reason);
    // The partner grid's rows were dropped here, into dropFolder (empty: the grid's folder).
    void rowsDropped(const QString &dropFolder);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    // The shared type-ahead replaces the view's own search.
    void keyboardSearch(const QString &) override {}
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QByteArray dragMark() const;
    // Finds the row under the pointer and what a drop there does; false when it is refused.
    bool trackDrop(const QPoint &position, bool selectFolderRow);

    FileGridView *m_partner = nullptr;
    QString m_dropFolder;
    TypeAheadSearch *m_typeAhead = nullptr;
    int m_searchColumn = 1;
};

} // namespace Velmora
