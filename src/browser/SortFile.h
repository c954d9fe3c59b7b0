#pragma once

#include <QString>

namespace Velmora {

// "local_sort.ini" and "server_sort.ini": despite the extension two plain lines, the column
// number and "TRUE" (descending) or "FALSE".
struct SortFile {
    enum class State { Missing, Unreadable, Read };
    State state = State::Missing;
    int column = 1;
    bool descending = false;

    static SortFile read(const QString &path);
    // The two lines of a sort file: Unreadable when the first is no whole number.
    static SortFile parse(const QStringList &lines);
    static bool write(const QString &path, int column, bool descending);
};

} // namespace Velmora
