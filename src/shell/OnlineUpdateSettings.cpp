#include "OnlineUpdateSettings.h"

#include "common/IniFile.h"

namespace Velmora {

namespace {
const QString Key = QStringLiteral("CheckAtStart");
}

OnlineUpdateSettings::OnlineUpdateSettings(QString path)
    : m_path(std::move(path))
{
}

bool OnlineUpdateSettings::checkAtStart() const
{
    IniFile ini(m_path);
    ini.load();
    return ini.readBool(IniFile::Settings, Key, false);
}

bool OnlineUpdateSettings::setCheckAtStart(bool on) const
{
    IniFile ini(m_path);
    ini.load();
    ini.writeBool(IniFile::Settings, Key, on);
    return ini.save();
}

} // namespace Velmora
