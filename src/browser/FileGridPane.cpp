#include "FileGridPane.h"

#include "FileGridColumns.h"
#include "FileGridView.h"
#include "GridLayoutFile.h"
#include "SortFile.h"
#include "app/ColumnWidth.h"
#include "app/TypeAheadKey.h"

#include "app/UserPrompts.h"

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QSignalBlocker>

#include <algorithm>
#include <optional>

namespace Velmora {

namespace C = FileGridColumns;

FileGridPane::FileGridPane(const Setup &setup, QObject *parent)
    : QObject(parent)
    , m_side(setup.side)
    , m_view(setup.view)
    , m_pathBox(setup.pathBox)
    , m_statusLabel(setup.statusLabel)
    , m_language(setup.language)
    , m_model(new FileGridModel(setup.side, setup.language, this))
    , m_sortFile(setup.sortFile)
    , m_layoutFile(setup.layoutFile)
{
    const int columns = C::count(m_side);
    m_descending = QList<bool>(columns, false);
    const QFontMetrics metrics = m_view->fontMetrics();
    for (int column = 0; column < columns; ++column)
        m_widths.append(ColumnWidth::scaled(C::designWidth(m_side, column), metrics));
    // A date with its time always fits, whichever order the language gives it.
    m_widths[C::Date] = std::max(m_widths[C::Date], ColumnWidth::forText(QStringLiteral("00.00.0000 00:00"), metrics));
    // Type texts are the extension and "-Datei": room for one of six letters.
    m_widths[C::FileType] = std::max(m_widths[C::FileType], ColumnWidth::forText(QStringLiteral("HIDDEN-Datei"), metrics));

    // The history completes what is typed in a list below the box, never in the text itself:
    // "/" stays "/" until the user picks "/d4" from the list.
    if (QCompleter *completer = m_pathBox->completer())
        completer->setCompletionMode(QCompleter::PopupCompletion);
    m_model->setGermanDates(setup.germanDates);
    m_model->setDecorations(setup.decorations);
    m_view->setModel(m_model);
    QHeaderView *header = m_view->horizontalHeader();
    for (int column = 0; column < columns; ++column)
        header->resizeSection(column, m_widths[column]);
    m_view->setColumnHidden(C::Kind, true);
    header->moveSection(header->visualIndex(C::iconColumn(m_side)), 0); // the icon is shown leftmost
    header->setSortIndicator(-1, Qt::AscendingOrder);

    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    m_rememberedRow = current.row();
            });
    connect(m_view, &FileGridView::focusReceived, this, [this](Qt::FocusReason reason) {
        // The focus coming back with the window (after Alt+Tab, a message box or a dialog) or
        // from a menu keeps the selection as it is: a command that asked a question before it
        // reads the selection must still see every selected row. Only focus moving here from
        // another control of the window selects the remembered row again.
        const bool returnedWithWindow = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason
                                        || reason == Qt::MenuBarFocusReason;
        if (!returnedWithWindow)
            restoreRememberedRow();
        Q_EMIT focusReceived();
    });
    connect(header, &QHeaderView::sectionDoubleClicked, this, &FileGridPane::headerDoubleClicked);
    connect(header, &QHeaderView::sectionResized, this, [this, header](int column, int, int size) {
        if (size > 0 && !header->isSectionHidden(column) && column < m_widths.size())
            m_widths[column] = size;
    });
}

FileGridPane::~FileGridPane() = default;

void FileGridPane::showRows(std::vector<FileGridEntry> rows, const QString &folder, bool nameOrderOtherwise)
{
    // Painting waits until the grid is complete.
    m_view->setUpdatesEnabled(false);
    m_model->setRows(std::move(rows), folder);
    applyStoredSort(nameOrderOtherwise);
    m_view->setUpdatesEnabled(true);
}

void FileGridPane::clearRows()
{
    m_model->clear();
}

void FileGridPane::setStatusText(const QString &text)
{
    m_statusLabel->setText(text);
}

void FileGridPane::applyStoredSort(bool nameOrderOtherwise)
{
    const SortFile stored = SortFile::read(m_sortFile);
    if (stored.state == SortFile::State::Missing) {
        sortByColumn(C::Name);
        return;
    }
    if (stored.state == SortFile::State::Read && stored.column >= 0 && stored.column < m_descending.size()) {
        m_descending[stored.column] = stored.descending;
        if (!C::sortKey(m_side, stored.column).isEmpty()) {
            sortByColumn(stored.column);
            return;
        }
    }
    // The stored sort cannot be used: the listing order stays.
    if (nameOrderOtherwise)
        m_model->sortBy(C::Name, false);
}

void FileGridPane::sortByColumn(int column)
{
    if (C::sortKey(m_side, column).isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_model->sortBy(column, m_descending[column]);
    showSortMark(column);
    restoreRememberedRow();
    QApplication::restoreOverrideCursor();
}

void FileGridPane::showSortMark(int column)
{
    m_view->horizontalHeader()->setSortIndicator(column, m_descending[column] ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void FileGridPane::headerDoubleClicked(int column)
{
    if (column < 0 || column >= m_descending.size())
        return;
    if (C::sortKey(m_side, column).isEmpty()) {
        SortFile::write(m_sortFile, column, false);
        return;
    }
    m_descending[column] = !m_descending[column];
    SortFile::write(m_sortFile, column, m_descending[column]);
    sortByColumn(column);
}

bool FileGridPane::isDescending(int column) const
{
    return m_descending.value(column);
}

QString FileGridPane::pathText() const
{
    return m_pathBox->currentText();
}

void FileGridPane::setPathText(const QString &text)
{
    const QSignalBlocker block(m_pathBox);
    m_pathBox->setEditText(text);
    m_folder = text;
}

void FileGridPane::addToHistory(const QString &path)
{
    const QSignalBlocker block(m_pathBox);
    int index = m_pathBox->findText(path, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        m_pathBox->insertItem(0, path);
        index = 0;
    }
    m_pathBox->setCurrentIndex(index);
    m_pathBox->setEditText(path);
    m_folder = path;
}

void FileGridPane::selectRowByName(const QString &name)
{
    const auto &rows = m_model->rows();
    const auto found = std::find_if(rows.begin(), rows.end(), [&name](const FileGridEntry &e) { return e.name == name; });
    selectRow(found == rows.end() ? 0 : int(found - rows.begin()));
}

void FileGridPane::selectRow(int row)
{
    SelectGridRow(*m_view, row, C::Name);
}

void FileGridPane::restoreRememberedRow()
{
    const int rows = m_model->rowCount();
    if (rows == 0)
        return;
    m_rememberedRow = std::clamp(m_rememberedRow, 0, rows - 1);
    selectRow(m_rememberedRow);
}

QList<int> FileGridPane::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_view->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

QList<SelectionLine> FileGridPane::selectionLines() const
{
    QList<SelectionLine> lines;
    for (int row : selectedRows()) {
        const FileGridEntry &entry = m_model->entryAt(row);
        if (entry.isParent)
            continue;
        SelectionLine line;
        line.kind = entry.kind;
        line.name = entry.name;
        line.size = SelectionLine::sizeField(m_model->cellText(row, C::Size));
        line.date = m_model->cellText(row, C::Date);
        line.server = m_side == BrowserSide::Server;
        if (line.server) {
            line.permissions = m_model->cellText(row, C::Permissions);
            line.owner = m_model->cellText(row, C::Owner);
        }
        lines.append(line);
    }
    return lines;
}

bool FileGridPane::checkSelection(SelectionRule rule, UserPrompts &prompts) const
{
    QList<SelectedRow> selected;
    std::optional<SelectedRow> focused;
    const int current = m_view->currentIndex().row();
    for (int row : selectedRows()) {
        SelectedRow r{m_model->kindAt(row), m_model->nameAt(row)};
        if (row == current)
            focused = r;
        selected.append(r);
    }
    if (IsSelectionRuleMet(rule, selected, focused ? &*focused : nullptr))
        return true;
    prompts.information(SelectionRuleMessage(rule, m_language));
    return false;
}

void FileGridPane::loadColumnLayout()
{
    const int columns = C::count(m_side);
    const QList<GridLayoutFile::StoredColumn> stored = GridLayoutFile::read(m_layoutFile, columns);
    if (stored.isEmpty())
        return;
    QHeaderView *header = m_view->horizontalHeader();
    QList<std::pair<int, int>> positions; // target position, column
    for (int column = 0; column < columns; ++column) {
        const GridLayoutFile::StoredColumn &c = stored[column];
        if (c.visible)
            m_view->setColumnHidden(column, !*c.visible);
        if (c.width) {
            m_widths[column] = *c.width;
            header->resizeSection(column, *c.width);
        }
        if (c.position)
            positions.append({*c.position, column});
        if (c.sorted && *c.sorted)
            header->setSortIndicator(column, c.descending.value_or(false) ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
    std::stable_sort(positions.begin(), positions.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &[target, column] : positions)
        header->moveSection(header->visualIndex(column), target);
}

bool FileGridPane::saveColumnLayout() const
{
    const QHeaderView *header = m_view->horizontalHeader();
    QList<GridLayoutFile::Column> columns;
    for (int column = 0; column < C::count(m_side); ++column) {
        GridLayoutFile::Column c;
        c.visible = !header->isSectionHidden(column);
        c.width = c.visible ? header->sectionSize(column) : m_widths[column];
        c.position = header->visualIndex(column);
        c.sorted = header->isSortIndicatorShown() && header->sortIndicatorSection() == column;
        c.descending = c.sorted ? header->sortIndicatorOrder() == Qt::DescendingOrder : m_descending[column];
        columns.append(c);
    }
    return GridLayoutFile::write(m_layoutFile, columns);
}

} // namespace Velmora
