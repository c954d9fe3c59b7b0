#include "MasterFtpListingSource.h"

#include "engine/MasterFTP.h"

namespace Velmora {

MasterFtpListingSource::MasterFtpListingSource(std::function<MasterFTP *()> session)
    : m_session(std::move(session))
{
}

bool MasterFtpListingSource::hasHost() const
{
    const MasterFTP *ftp = m_session();
    return ftp && !ftp->host().isEmpty();
}

bool MasterFtpListingSource::isConnected() const
{
    const MasterFTP *ftp = m_session();
    return ftp && ftp->isConnected();
}

bool MasterFtpListingSource::connectQuietly()
{
    MasterFTP *ftp = m_session();
    if (!ftp)
        return false;
    return ftp->Connect(false) || ftp->isConnected();
}

bool MasterFtpListingSource::list(const QString &path, QStringList &records)
{
    MasterFTP *ftp = m_session();
    return ftp && ftp->GetListing(path, records);
}

} // namespace Velmora
