#pragma once

#include <QTableView>

#include <functional>

namespace Velmora {

class TypeAheadSearch;

// The file grid widget of both panes: whole-row, multi-row selection, no column moving by the
// user. Enter opens the remembered row, command keys go to the dispatcher, Ctrl+A selects every
// row, printable keys search by name; arrows and paging move as in any table.
class FileGridView : public QTableView {
    Q_OBJECT
public:
    explicit FileGridView(QWidget *parent = nullptr);

    void setTypeAhead(TypeAheadSearch *search, int searchColumn);
    // Asked first for every key; returns true when the key started a command.
    std::function<bool(int key, Qt::KeyboardModifiers modifiers)> commandKey;

Q_SIGNALS:
    void enterPressed();
    void focusReceived(Qt::FocusReason reason);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    // The shared type-ahead replaces the view's own search.
    void keyboardSearch(const QString &) override {}

private:
    TypeAheadSearch *m_typeAhead = nullptr;
    int m_searchColumn = 1;
};

} // namespace Velmora
