#pragma once

#include "BrowserSide.h"
#include "FileGridModel.h"
#include "ListingSummary.h"
#include "SelectionRule.h"

#include "queue/SelectionLine.h"

#include <QObject>

#include <memory>
#include <vector>

class QComboBox;
class QLabel;

namespace Velmora {

class FileGridView;
class GridDecorations;
class Language;
class UserPrompts;

// What both panes share: the grid with its model, the status line, the path box's history, the
// remembered row, the descending flag of every column, the sort file and the column layout file.
class FileGridPane : public QObject {
    Q_OBJECT
public:
    struct Setup {
        BrowserSide side = BrowserSide::Local;
        FileGridView *view = nullptr;
        QComboBox *pathBox = nullptr;
        QLabel *statusLabel = nullptr;
        const Language *language = nullptr;
        const GridDecorations *decorations = nullptr;
        QString sortFile;   // "local_sort.ini" / "server_sort.ini" with its folder
        QString layoutFile; // "localgrid.ini" / "servergrid.ini" with its folder
        bool germanDates = false;
    };

    explicit FileGridPane(const Setup &setup, QObject *parent = nullptr);
    ~FileGridPane() override;

    BrowserSide side() const { return m_side; }
    FileGridModel &model() { return *m_model; }
    const FileGridModel &model() const { return *m_model; }
    FileGridView *view() const { return m_view; }
    QComboBox *pathBox() const { return m_pathBox; }
    QLabel *statusLabel() const { return m_statusLabel; }

    // Puts fresh rows into the grid with painting suspended, then applies the stored sort. When
    // the sort file cannot be used, rows stay as given, or go into name order when
    // nameOrderOtherwise (the local listing arrives unordered).
    void showRows(std::vector<FileGridEntry> rows, const QString &folder, bool nameOrderOtherwise);
    void clearRows();
    void setStatusText(const QString &text);

    // SortLocalGrid / SortServerGrid: reorder by a column with its current descending flag.
    void sortByColumn(int column);
    // Toggles the column's flag, writes the sort file and sorts (a column without key writes
    // "FALSE" and keeps the order).
    void headerDoubleClicked(int column);
    bool isDescending(int column) const;

    // The path box text as it stands, typed but not entered text included: only Enter and the
    // history list read it.
    QString pathText() const;
    // The folder the program put into the path box last: the folder whose rows the grid shows
    // (or is about to list). Typing into the box does not change it, so every command that acts
    // on the rows takes its folder from here.
    QString folder() const { return m_folder; }
    // Sets the path box text (and the folder) without any listing reacting to it.
    void setPathText(const QString &text);
    // Puts a listed path at the top of the history unless it is there already.
    void addToHistory(const QString &path);

    // SelectRowByName: the first row named exactly so, else row 0; scrolled into view.
    void selectRowByName(const QString &name);
    void selectRow(int row);
    int rememberedRow() const { return m_rememberedRow; }
    // Selects the remembered row again, lowered to the last row when the grid shrank.
    void restoreRememberedRow();
    QList<int> selectedRows() const;
    // The selected rows as the transfer builders take them, in grid order, without "..".
    QList<SelectionLine> selectionLines() const;
    // CheckSelection: shows the rule's message and returns false when it is not met.
    bool checkSelection(SelectionRule rule, UserPrompts &prompts) const;

    void loadColumnLayout();
    bool saveColumnLayout() const;
    // Width each column had last while visible (hidden columns keep theirs here).
    int storedWidth(int column) const { return m_widths.value(column); }

Q_SIGNALS:
    void focusReceived();

private:
    void applyStoredSort(bool nameOrderOtherwise);
    void showSortMark(int column);

    BrowserSide m_side;
    FileGridView *m_view;
    QComboBox *m_pathBox;
    QLabel *m_statusLabel;
    const Language *m_language;
    FileGridModel *m_model;
    QString m_sortFile;
    QString m_layoutFile;
    QList<bool> m_descending;
    QList<int> m_widths;
    int m_rememberedRow = 0;
    QString m_folder;
};

} // namespace Velmora
