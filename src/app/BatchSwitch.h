#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace Velmora {

// The switch after the queue file on a batch job's command line.
enum class BatchSwitch {
    Run,            // "-r": run the queue, then stay open
    RunAndClose,    // "-rc": run it, then end the program
    RunAndShutdown, // "-rs": run it, then shut the computer down
};

// The switch a command-line word names (exactly, case counts), or none.
std::optional<BatchSwitch> BatchSwitchFromText(QStringView text);
// "-r", "-rc" or "-rs".
QString BatchSwitchText(BatchSwitch batchSwitch);
// The job ends the program when its run is over.
bool BatchSwitchEnds(BatchSwitch batchSwitch);

} // namespace Velmora
