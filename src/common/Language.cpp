#include "Language.h"

namespace Velmora {

Language::Language(QObject *parent)
    : QObject(parent)
{
}

void Language::setCurrent(Id id)
{
    m_current = id;
    Q_EMIT languageChanged(id);
}

Language::Id Language::fromName(const QString &name)
{
    return name == u"GERMAN" ? German : English;
}

QString Language::nameOf(Id id)
{
    return id == German ? QStringLiteral("GERMAN") : QStringLiteral("ENGLISH");
}

} // namespace Velmora
