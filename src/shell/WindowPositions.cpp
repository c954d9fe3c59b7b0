#include "WindowPositions.h"

#include "app/DesignState.h"
#include "common/IniFile.h"

#include <QFileInfo>

#include <optional>

namespace Velmora {

namespace {

const QString &S = IniFile::Settings;

// The value of a key when it is a whole number; nothing when the key is missing; the key goes
// to the damaged list when it holds anything else.
std::optional<qint64> number(const IniFile &ini, const QString &key, QStringList &damaged)
{
    if (!ini.hasKey(S, key))
        return std::nullopt;
    bool ok = false;
    const qint64 value = ini.readString(S, key).trimmed().toLongLong(&ok);
    if (!ok) {
        damaged.append(key);
        return std::nullopt;
    }
    return value;
}

void readFlag(const IniFile &ini, const QString &key, bool &flag, QStringList &damaged)
{
    if (const std::optional<qint64> value = number(ini, key, damaged))
        flag = *value != 0;
}

void readHeight(const IniFile &ini, const QString &key, int &height, QStringList &damaged)
{
    const std::optional<qint64> value = number(ini, key, damaged);
    if (!value)
        return;
    if (*value < 0 || *value > WindowPositions::LargestHeight) {
        damaged.append(key);
        return;
    }
    height = int(*value);
}

} // namespace

WindowPositions WindowPositions::read(const QString &path, QStringList *damagedKeys)
{
    WindowPositions positions;
    QStringList damaged;
    IniFile ini(path);
    if (ini.load()) {
        if (!ini.sections().contains(S, Qt::CaseInsensitive) && QFileInfo(path).size() > 0)
            damaged.append(S);
        readFlag(ini, QStringLiteral("ProtocolNextGrid"), positions.protocolGrid, damaged);
        readFlag(ini, QStringLiteral("LocalButtonsPanel"), positions.localButtonsPanel, damaged);
        readFlag(ini, QStringLiteral("ServerButtonsPanel"), positions.serverButtonsPanel, damaged);
        readFlag(ini, QStringLiteral("QueueNextGrid"), positions.queueGrid, damaged);
        readFlag(ini, QStringLiteral("QueuePanel"), positions.queuePanel, damaged);
        readFlag(ini, QStringLiteral("QueueSplitter"), positions.queueSplitter, damaged);
        readFlag(ini, QStringLiteral("FilterPanel"), positions.filterPanel, damaged);
        readHeight(ini, QStringLiteral("StatusNextGridHeight"), positions.protocolHeight, damaged);
        positions.protocolHeight = std::max(positions.protocolHeight, MinimumProtocolHeight);
        readHeight(ini, QStringLiteral("QueueNextGridHeight"), positions.queueHeight, damaged);
        const QString design = ini.readString(S, QStringLiteral("Design")).trimmed();
        if (!design.isEmpty()) {
            if (DesignState::names().contains(design))
                positions.design = design;
            else
                damaged.append(QStringLiteral("Design"));
        }
    }
    if (damagedKeys)
        *damagedKeys = damaged;
    return positions;
}

bool WindowPositions::write(const QString &path) const
{
    IniFile ini(path);
    ini.writeBool(S, QStringLiteral("ProtocolNextGrid"), protocolGrid);
    ini.writeBool(S, QStringLiteral("LocalButtonsPanel"), localButtonsPanel);
    ini.writeBool(S, QStringLiteral("ServerButtonsPanel"), serverButtonsPanel);
    ini.writeBool(S, QStringLiteral("QueueNextGrid"), queueGrid);
    ini.writeBool(S, QStringLiteral("QueuePanel"), queuePanel);
    ini.writeBool(S, QStringLiteral("QueueSplitter"), queueSplitter);
    ini.writeBool(S, QStringLiteral("FilterPanel"), filterPanel);
    ini.writeInteger(S, QStringLiteral("StatusNextGridHeight"), protocolHeight);
    ini.writeInteger(S, QStringLiteral("QueueNextGridHeight"), queueHeight);
    ini.writeString(S, QStringLiteral("Design"), design);
    return ini.save();
}

} // namespace Velmora
