#pragma once

#include <QString>
#include <QStringList>

namespace Velmora {

// The main window's layout as "positions.ini" keeps it between runs: which regions are
// visible, the heights of the protocol and queue grids, and the design name.
struct WindowPositions {
    static inline const QString FileName = QStringLiteral("positions.ini");
    static constexpr int DefaultProtocolHeight = 70;
    static constexpr int MinimumProtocolHeight = 52;
    static constexpr int DefaultQueueHeight = 100;
    // Heights beyond this are no height a screen can show: the value counts as damaged.
    static constexpr int LargestHeight = 20000;

    bool protocolGrid = true;
    bool localButtonsPanel = true;
    bool serverButtonsPanel = true;
    bool queueGrid = true;
    bool queuePanel = true;
    bool queueSplitter = true;
    bool filterPanel = true;
    int protocolHeight = DefaultProtocolHeight;
    int queueHeight = DefaultQueueHeight;
    QString design = QStringLiteral("Office2003Blue");

    bool operator==(const WindowPositions &) const = default;

    // Reads the file; a missing file or key gives the default. A value that cannot be what its
    // key holds (not a number, a height out of range, an unknown design) gives the default too
    // and its key is named in *damagedKeys; a file without its section names "SETTINGS".
    static WindowPositions read(const QString &path, QStringList *damagedKeys = nullptr);
    // Writes the ten keys in their fixed order; false when the file cannot be written.
    bool write(const QString &path) const;
};

} // namespace Velmora
