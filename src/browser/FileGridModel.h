#pragma once

#include "BrowserSide.h"
#include "FileGridEntry.h"

#include <QAbstractTableModel>

#include <vector>

namespace Velmora {

class GridDecorations;
class Language;

// The rows of one file grid ("LocalNextGrid" or "ServerNextGrid"). Both sides use this model;
// they differ only in their columns and sort keys. Size and date texts are made when a cell is
// painted, so filling 100,000 rows costs no formatting.
class FileGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Icons are shown only while the grid holds at most this many entries (the ".." row aside).
    static constexpr int IconLimit = 1000;

    FileGridModel(BrowserSide side, const Language *language, QObject *parent = nullptr);

    BrowserSide side() const { return m_side; }
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Every row but ".." can be dragged to the other grid.
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Replaces every row. folder is the local folder the rows live in (for the icons of local
    // rows; ends with "/"), empty on the server side.
    void setRows(std::vector<FileGridEntry> rows, const QString &folder = {});
    void clear();
    const std::vector<FileGridEntry> &rows() const { return m_rows; }
    const FileGridEntry &entryAt(int row) const { return m_rows[size_t(row)]; }
    // The name and kind cells of a row; empty and -1 outside the grid.
    QString nameAt(int row) const;
    // The kind of a row; File for a row that does not exist.
    EntryKind kindAt(int row) const;
    // The rows other than the ".." row.
    int entryCount() const;
    bool showsIcons() const { return entryCount() <= IconLimit; }

    // Reorders by a column's key; false (order unchanged) when the column has none.
    bool sortBy(int column, bool descending);

    // Dates "dd.mm.yyyy hh:nn:ss" on a German system, "mm/dd/yyyy hh:nn:ss" otherwise.
    void setGermanDates(bool german);
    bool germanDates() const { return m_germanDates; }
    void setDecorations(const GridDecorations *decorations) { m_decorations = decorations; }

    // The text a cell shows.
    QString cellText(int row, int column) const;
    QString sizeText(const FileGridEntry &entry) const;
    QString dateText(const FileGridEntry &entry) const;

private:
    void retranslate();

    BrowserSide m_side;
    const Language *m_language;
    const GridDecorations *m_decorations = nullptr;
    std::vector<FileGridEntry> m_rows;
    QString m_folder;
    bool m_germanDates = false;
};

} // namespace Velmora
