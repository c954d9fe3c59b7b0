#include "ImportIni.h"

#include "ImportText.h"

namespace Velmora {

ImportIni::ImportIni(const QStringList &lines)
    : m_lines(lines)
{
    m_ini.parse(lines.join(QStringLiteral("\r\n")));
}

QStringList ImportIni::sections(const QString &excludedMarker) const
{
    QStringList names;
    for (const QString &line : m_lines) {
        const QString trimmed = Trim(line);
        if (!trimmed.startsWith(u'['))
            continue;
        if (!excludedMarker.isEmpty() && line.contains(excludedMarker))
            continue;
        QString name = trimmed;
        name.remove(u'[');
        name.remove(u']');
        names.append(Trim(name));
    }
    return names;
}

bool ImportIni::hasKey(const QString &section, const QString &key) const
{
    return m_ini.hasKey(section, key);
}

QString ImportIni::value(const QString &section, const QString &key) const
{
    QString value = m_ini.readString(section, key);
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

} // namespace Velmora
