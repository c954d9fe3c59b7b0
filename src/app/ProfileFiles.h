#pragma once

#include "common/Language.h"

#include <QString>

namespace Velmora {

// "LanguageIsSet.ini" and "ver.ini": the language and the version text of the profile.
class ProfileFiles {
public:
    explicit ProfileFiles(QString appDataFolder);

    static inline const QString LanguageFileName = QStringLiteral("LanguageIsSet.ini");
    static inline const QString VersionFileName = QStringLiteral("ver.ini");
    static inline const QString MissingVersionText = QStringLiteral("Version 0");

    // A new profile has no installer step behind it: write both files so the first start shows
    // no error. Existing files are left alone.
    void createForNewProfile(const QString &versionText, bool systemIsGerman) const;

    // An existing version file that names another version (the program was upgraded or
    // downgraded since) is rewritten with this one; a missing file stays missing.
    void refreshVersion(const QString &versionText) const;

    // First line of the language file; *found false when the file is missing.
    QString readLanguageName(bool *found) const;
    // First line of the version file, or "Version 0" when it is missing (*found false).
    QString readVersionText(bool *found) const;
    // Replaces the language file with the one line.
    bool writeLanguage(Language::Id id) const;

    QString languageFile() const { return m_folder + LanguageFileName; }
    QString versionFile() const { return m_folder + VersionFileName; }

private:
    QString m_folder;
};

} // namespace Velmora
