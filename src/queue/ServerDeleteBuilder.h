#pragma once

namespace Velmora {

class CollectionSteps;

// Turns the selection of the server grid into deletion work, after one question: the selected
// files (and links, under the part of their name before " -> ") become "DELE" records that
// carry their own grid row, the selected folders are walked so that their files, their folders
// from the deepest up and the folder itself are deleted. The queue grid and the queue list are
// emptied first, whatever the automatic run option says; the walked folders' records come
// before the selected files'. With the transfer filter in use, only what the filter window
// keeps runs. The records run (or are only shown) like every queue.
class ServerDeleteBuilder {
public:
    explicit ServerDeleteBuilder(CollectionSteps &steps);

    void build();

private:
    CollectionSteps &m_steps;
};

} // namespace Velmora
