#include "ProfileFiles.h"

#include "common/TextCodec.h"

#include <QFileInfo>

namespace Velmora {

ProfileFiles::ProfileFiles(QString appDataFolder)
    : m_folder(std::move(appDataFolder))
{
}

void ProfileFiles::createForNewProfile(const QString &versionText, bool systemIsGerman) const
{
    if (!QFileInfo::exists(versionFile()))
        TextCodec::WriteLines(versionFile(), {versionText});
    if (!QFileInfo::exists(languageFile()))
        writeLanguage(systemIsGerman ? Language::German : Language::English);
}

void ProfileFiles::refreshVersion(const QString &versionText) const
{
    bool exists = false;
    const QStringList lines = TextCodec::ReadLines(versionFile(), &exists);
    if (exists && (lines.isEmpty() || lines.first() != versionText))
        TextCodec::WriteLines(versionFile(), {versionText});
}

QString ProfileFiles::readLanguageName(bool *found) const
{
    const QStringList lines = TextCodec::ReadLines(languageFile(), found);
    return lines.isEmpty() ? QString() : lines.first().trimmed();
}

QString ProfileFiles::readVersionText(bool *found) const
{
    bool exists = false;
    const QStringList lines = TextCodec::ReadLines(versionFile(), &exists);
    if (found)
        *found = exists;
    if (!exists)
        return MissingVersionText;
    return lines.isEmpty() ? QString() : lines.first();
}

bool ProfileFiles::writeLanguage(Language::Id id) const
{
    return TextCodec::WriteLines(languageFile(), {Language::nameOf(id)});
}

} // namespace Velmora
