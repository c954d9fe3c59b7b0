#include "IniFile.h"

#include "TextCodec.h"

namespace Velmora {

IniFile::IniFile(QString path)
    : m_path(std::move(path))
{
}

bool IniFile::load()
{
    m_sections.clear();
    bool exists = false;
    const QString text = TextCodec::ReadTextFile(m_path, &exists);
    if (exists)
        parse(text);
    return exists;
}

void IniFile::parse(const QString &text)
{
    m_sections.clear();
    Section *current = nullptr;
    for (const QString &rawLine : TextCodec::SplitLines(text)) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            current = &sectionFor(line.mid(1, line.size() - 2).trimmed());
            continue;
        }
        if (!current)
            continue;
        const qsizetype eq = rawLine.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = rawLine.left(eq).trimmed();
        const QString value = rawLine.mid(eq + 1).trimmed();
        bool replaced = false;
        for (auto &entry : current->entries) {
            if (entry.first.compare(key, Qt::CaseInsensitive) == 0) {
                replaced = true;
                break; // the first occurrence wins, as with Windows profile files
            }
        }
        if (!replaced)
            current->entries.append({key, value});
    }
}

QString IniFile::toText() const
{
    QString text;
    for (const Section &section : m_sections) {
        text += u'[' + section.name + u"]\r\n";
        for (const auto &entry : section.entries)
            text += entry.first + u'=' + entry.second + u"\r\n";
        text += u"\r\n";
    }
    return text;
}

bool IniFile::save() const
{
    return TextCodec::WriteTextFile(m_path, toText());
}

const IniFile::Section *IniFile::findSection(const QString &name) const
{
    for (const Section &section : m_sections) {
        if (section.name.compare(name, Qt::CaseInsensitive) == 0)
            return &section;
    }
    return nullptr;
}

IniFile::Section &IniFile::sectionFor(const QString &name)
{
    for (Section &section : m_sections) {
        if (section.name.compare(name, Qt::CaseInsensitive) == 0)
            return section;
    }
    m_sections.append(Section{name, {}});
    return m_sections.last();
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    const Section *s = findSection(section);
    if (!s)
        return false;
    for (const auto &entry : s->entries) {
        if (entry.first.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &fallback) const
{
    const Section *s = findSection(section);
    if (!s)
        return fallback;
    for (const auto &entry : s->entries) {
        if (entry.first.compare(key, Qt::CaseInsensitive) == 0)
            return entry.second;
    }
    return fallback;
}

qint64 IniFile::readInteger(const QString &section, const QString &key, qint64 fallback) const
{
    if (!hasKey(section, key))
        return fallback;
    bool ok = false;
    const qint64 value = readString(section, key).trimmed().toLongLong(&ok);
    return ok ? value : fallback;
}

bool IniFile::readBool(const QString &section, const QString &key, bool fallback) const
{
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList result;
    if (const Section *s = findSection(section)) {
        for (const auto &entry : s->entries)
            result.append(entry.first);
    }
    return result;
}

QStringList IniFile::sections() const
{
    QStringList result;
    for (const Section &section : m_sections)
        result.append(section.name);
    return result;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    Section &s = sectionFor(section);
    for (auto &entry : s.entries) {
        if (entry.first.compare(key, Qt::CaseInsensitive) == 0) {
            entry.second = value;
            return;
        }
    }
    s.entries.append({key, value});
}

void IniFile::writeInteger(const QString &section, const QString &key, qint64 value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::eraseSection(const QString &section)
{
    m_sections.removeIf([&](const Section &s) { return s.name.compare(section, Qt::CaseInsensitive) == 0; });
}

void IniFile::clear()
{
    m_sections.clear();
}

} // namespace Velmora
