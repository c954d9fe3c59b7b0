#include "SearchReplaceError.h"

#include "common/Language.h"

namespace Velmora {

namespace {

QString englishText(SearchReplaceError::Kind kind, const QString &path)
{
    return (kind == SearchReplaceError::Read ? QStringLiteral("The file cannot be read: ")
                                             : QStringLiteral("The file cannot be written: "))
        + path;
}

} // namespace

SearchReplaceError::SearchReplaceError(Kind kind, QString path)
    : std::runtime_error(englishText(kind, path).toStdString())
    , m_kind(kind)
    , m_path(std::move(path))
{
}

QString SearchReplaceError::text(bool german) const
{
    if (!german)
        return englishText(m_kind, m_path);
    return (m_kind == Read ? QStringLiteral("Die Datei kann nicht gelesen werden: ")
                           : QStringLiteral("Die Datei kann nicht geschrieben werden: "))
        + m_path;
}

QString SearchReplaceError::text(const Language &language) const
{
    return text(language.isGerman());
}

} // namespace Velmora
