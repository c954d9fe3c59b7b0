#include "BatchSwitch.h"

namespace Velmora {

std::optional<BatchSwitch> BatchSwitchFromText(QStringView text)
{
    if (text == u"-r")
        return BatchSwitch::Run;
    if (text == u"-rc")
        return BatchSwitch::RunAndClose;
    if (text == u"-rs")
        return BatchSwitch::RunAndShutdown;
    return std::nullopt;
}

QString BatchSwitchText(BatchSwitch batchSwitch)
{
    switch (batchSwitch) {
    case BatchSwitch::Run:
        return QStringLiteral("-r");
    case BatchSwitch::RunAndClose:
        return QStringLiteral("-rc");
    case BatchSwitch::RunAndShutdown:
        return QStringLiteral("-rs");
    }
    return {};
}

bool BatchSwitchEnds(BatchSwitch batchSwitch)
{
    return batchSwitch != BatchSwitch::Run;
}

} // namespace Velmora
