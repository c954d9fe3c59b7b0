#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace Velmora {

// "localgrid.ini" and "servergrid.ini": the column layout of a file grid, one key per column in
// each of the sections "Common", "Columns Sort Kind", "Visible Columns", "Sorted", "Positions"
// and "Columns Sizes". Columns are numbered over all columns, hidden ones included.
class GridLayoutFile {
public:
    struct Column {
        int width = 0;
        int position = 0;      // visible position, 0 is leftmost
        bool visible = true;
        bool sorted = false;   // the header shows a sort mark on this column
        bool descending = false;
    };
    // What a file says about one column; a key that is missing or damaged stays empty.
    struct StoredColumn {
        std::optional<int> width;
        std::optional<int> position;
        std::optional<bool> visible;
        std::optional<bool> sorted;
        std::optional<bool> descending;
    };

    // Reads the file for a grid of columnCount columns; an empty list when it does not exist.
    // Values outside sensible ranges (widths, positions beyond the grid) count as missing.
    static QList<StoredColumn> read(const QString &path, int columnCount);
    // Writes every key of every section, the file rewritten whole.
    static bool write(const QString &path, const QList<Column> &columns);

    static constexpr int MaximumWidth = 10000;
};

} // namespace Velmora
