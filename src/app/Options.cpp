#include "Options.h"

#include "common/IniFile.h"
#include "common/TextCodec.h"

#include <QStringList>

#include <algorithm>

namespace Velmora {

namespace {

const QString S = IniFile::Settings;

void toIni(IniFile &ini, const OptionsData &d)
{
    ini.writeBool(S, QStringLiteral("Logfiles"), d.logfiles);
    ini.writeBool(S, QStringLiteral("FTPConnections"), d.ftpConnections);
    ini.writeBool(S, QStringLiteral("AllwaysOverwrite"), d.allwaysOverwrite);
    ini.writeBool(S, QStringLiteral("AutomaticRunQueue"), d.automaticRunQueue);
    ini.writeBool(S, QStringLiteral("InternalEditor"), d.internalEditor);
    // The radio buttons are stored crosswise; existing files depend on it.
    ini.writeBool(S, QStringLiteral("ExternalEditor"), d.startWithSystemExtension);
    ini.writeBool(S, QStringLiteral("ExtensionEditor"), d.externalEditor);
    ini.writeString(S, QStringLiteral("ExternalEditorExe"), d.externalEditorExe);
    ini.writeBool(S, QStringLiteral("Keepalive"), d.keepalive);
    ini.writeString(S, QStringLiteral("KeepaliveTime"), d.keepaliveTime);
    ini.writeBool(S, QStringLiteral("FilterON"), d.filterOn);
    ini.writeBool(S, QStringLiteral("ShowCharts"), d.showCharts);
    ini.writeBool(S, QStringLiteral("CloseCharts"), d.closeCharts);
    ini.writeBool(S, QStringLiteral("ResetCharts"), d.resetCharts);
    if (d.keyringPasswordsChosen)
        ini.writeBool(S, QStringLiteral("KeyringPasswords"), d.keyringPasswords);
    if (d.simultaneousTransfers != 1)
        ini.writeString(S, QStringLiteral("SimultaneousTransfers"), QString::number(d.simultaneousTransfers));
}

// The stored text as a number of simultaneous transfers: the nearest allowed number for a
// whole number out of range, 1 for anything else. *ok says whether the text was fine as it is.
int readSimultaneous(const QString &text, bool *ok)
{
    bool number = false;
    const qint64 value = text.trimmed().toLongLong(&number);
    if (!number) {
        *ok = false;
        return OptionsData::MinSimultaneousTransfers;
    }
    const qint64 bounded = std::clamp<qint64>(value, OptionsData::MinSimultaneousTransfers,
                                              OptionsData::MaxSimultaneousTransfers);
    *ok = bounded == value;
    return int(bounded);
}

} // namespace

Options::Options(QString filePath, QObject *parent)
    : QObject(parent)
    , m_filePath(std::move(filePath))
{
}

void Options::setData(const OptionsData &data)
{
    m_data = data;
    m_held.clear();
    Q_EMIT changed();
}

bool Options::change(Switch field, bool value)
{
    m_data.*field = value;
    m_held.removeIf([field](const Held &held) { return held.field == field; });
    Q_EMIT changed();
    return save();
}

void Options::applyUnsaved(Switch field, bool value)
{
    const auto held = std::find_if(m_held.cbegin(), m_held.cend(), [field](const Held &h) { return h.field == field; });
    if (held == m_held.cend())
        m_held.append({field, m_data.*field});
    m_data.*field = value;
    Q_EMIT changed();
}

bool Options::storedValue(Switch field) const
{
    for (const Held &held : m_held) {
        if (held.field == field)
            return held.stored;
    }
    return m_data.*field;
}

OptionsData Options::toStore() const
{
    OptionsData stored = m_data;
    for (const Held &held : m_held)
        stored.*held.field = held.stored;
    return stored;
}

bool Options::isValidInterval(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

OptionsData Options::parse(const QString &iniText, bool *intervalOk, bool *simultaneousOk)
{
    IniFile ini;
    ini.parse(iniText);
    OptionsData d;
    d.logfiles = ini.readBool(S, QStringLiteral("Logfiles"), false);
    d.ftpConnections = ini.readBool(S, QStringLiteral("FTPConnections"), true);
    d.allwaysOverwrite = ini.readBool(S, QStringLiteral("AllwaysOverwrite"), false);
    d.automaticRunQueue = ini.readBool(S, QStringLiteral("AutomaticRunQueue"), true);
    d.internalEditor = ini.readBool(S, QStringLiteral("InternalEditor"), true);
    d.startWithSystemExtension = ini.readBool(S, QStringLiteral("ExternalEditor"), false);
    d.externalEditor = ini.readBool(S, QStringLiteral("ExtensionEditor"), false);
    d.externalEditorExe = ini.readString(S, QStringLiteral("ExternalEditorExe"));
    d.keepalive = ini.readBool(S, QStringLiteral("Keepalive"), false);
    d.keepaliveTime = ini.readString(S, QStringLiteral("KeepaliveTime"), QStringLiteral("30"));
    d.filterOn = ini.readBool(S, QStringLiteral("FilterON"), false);
    d.showCharts = ini.readBool(S, QStringLiteral("ShowCharts"), true);
    d.closeCharts = ini.readBool(S, QStringLiteral("CloseCharts"), true);
    d.resetCharts = ini.readBool(S, QStringLiteral("ResetCharts"), true);
    d.keyringPasswordsChosen = ini.hasKey(S, QStringLiteral("KeyringPasswords"));
    d.keyringPasswords = ini.readBool(S, QStringLiteral("KeyringPasswords"), false);
    bool simultaneous = true;
    d.simultaneousTransfers = readSimultaneous(ini.readString(S, QStringLiteral("SimultaneousTransfers"), QStringLiteral("1")),
                                               &simultaneous);
    if (simultaneousOk)
        *simultaneousOk = simultaneous;
    const bool ok = isValidInterval(d.keepaliveTime);
    if (!ok)
        d.keepaliveTime = QStringLiteral("30");
    if (intervalOk)
        *intervalOk = ok;
    return d;
}

QString Options::toIniText(const OptionsData &data)
{
    IniFile ini;
    toIni(ini, data);
    return ini.toText();
}

bool Options::load(QString *problem)
{
    bool exists = false;
    const QString text = TextCodec::ReadTextFile(m_filePath, &exists);
    bool intervalOk = true;
    bool simultaneousOk = true;
    IniFile raw;
    raw.parse(text);
    const QString storedInterval = raw.readString(S, QStringLiteral("KeepaliveTime"), QStringLiteral("30"));
    m_data = exists ? parse(text, &intervalOk, &simultaneousOk) : OptionsData{};
    m_held.clear();
    QStringList problems;
    if (!intervalOk)
        problems << QStringLiteral("options.ini: KeepaliveTime \"") + storedInterval
                + QStringLiteral("\" is not a whole number of seconds; 30 seconds are used.");
    if (!simultaneousOk)
        problems << QStringLiteral("options.ini: SimultaneousTransfers \"")
                + raw.readString(S, QStringLiteral("SimultaneousTransfers"))
                + QStringLiteral("\" is not a whole number from 1 to 8; %1 is used.").arg(m_data.simultaneousTransfers);
    if (problem)
        *problem = problems.join(u'\n');
    Q_EMIT changed();
    return problems.isEmpty();
}

bool Options::save() const
{
    return TextCodec::WriteTextFile(m_filePath, toIniText(toStore()));
}

int Options::keepaliveSeconds() const
{
    bool ok = false;
    const int seconds = m_data.keepaliveTime.toInt(&ok);
    return ok ? seconds : 30;
}

} // namespace Velmora
