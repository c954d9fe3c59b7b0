#include "NoWizardFilterFile.h"

#include "common/TextCodec.h"

#include <QFileInfo>

namespace Velmora {

NoWizardFilterFile::NoWizardFilterFile(QString appDataFolder)
    : m_folder(std::move(appDataFolder))
{
}

QString NoWizardFilterFile::path() const
{
    return m_folder + FileName;
}

bool NoWizardFilterFile::exists() const
{
    return QFileInfo::exists(path());
}

bool NoWizardFilterFile::write() const
{
    return TextCodec::WriteLines(path(), {QStringLiteral(" ")});
}

} // namespace Velmora
