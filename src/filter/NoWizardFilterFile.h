#pragma once

#include <QString>

namespace Velmora {

// "no_wizard_filter.ini" in the application data folder: while it exists, uploads and downloads
// no longer ask for the transfer mode ("Don't show this message again").
class NoWizardFilterFile {
public:
    explicit NoWizardFilterFile(QString appDataFolder);

    QString path() const;
    bool exists() const;
    // Writes the file with its single line " "; false when it cannot be written.
    bool write() const;

    static inline const QString FileName = QStringLiteral("no_wizard_filter.ini");

private:
    QString m_folder;
};

} // namespace Velmora
