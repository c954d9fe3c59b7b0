#pragma once

#include "FTPConnection.h"
#include "SiteTransport.h"

#include "engine/EncryptionChoice.h"

#include <QList>
#include <QStringList>

namespace Velmora {

// What one importer found in a file: the sites in file order, the sites left out because the
// other client reaches them with another protocol than FTP or SFTP, and notes on parts of the file
// that could not become sites (shown as protocol error lines).
struct SiteImportResult {
    struct Problem {
        QString english;
        QString german;
    };
    struct LeftOut {
        FTPConnection site;
        SiteTransport::Kind transport = SiteTransport::Ftp;
        QString record; // the file's own text that tells the transport, e.g. "<Protocol>1</Protocol>"
    };
    QList<FTPConnection> sites;
    QList<LeftOut> leftOut;
    QList<Problem> problems;

    // Takes the site over with the protocol and encryption the file records for it, or leaves
    // it out when that is another protocol than FTP or SFTP. A URL scheme in the host
    // ("ftpes://host", "sftp://host") says more than the file's setting; the host keeps no such
    // scheme, which is no part of a host name. True when taken over.
    bool add(FTPConnection site, SiteTransport::Kind transport = SiteTransport::Ftp, const QString &record = {})
    {
        if (!SiteTransport::TakenOver(transport)) {
            leftOut.append({site, transport, record});
            return false;
        }
        QString scheme;
        const SiteTransport::Kind byHost = SiteTransport::FromHost(site.Host, &scheme);
        if (!SiteTransport::TakenOver(byHost)) {
            leftOut.append({site, byHost, scheme});
            return false;
        }
        if (!scheme.isEmpty()) {
            transport = byHost;
            if (byHost == SiteTransport::FtpExplicitTls || byHost == SiteTransport::FtpImplicitTls || byHost == SiteTransport::Sftp)
                site.Host = site.Host.trimmed().mid(scheme.size());
        }
        // An importer's default port is FTP's: an SFTP site without a port of its own gets SSH's.
        if (transport == SiteTransport::Sftp && (site.Port.trimmed().isEmpty() || site.Port.trimmed() == QStringLiteral("21")))
            site.Port = QString::number(EncryptionChoice::DefaultPort(FtpEncryption::Sftp));
        site.Encryption = EncryptionChoice::Keyword(SiteTransport::EncryptionOf(transport));
        sites.append(site);
        return true;
    }
};

// The working record of a parse before any field is found: single blanks, not empty texts.
inline FTPConnection BlankImportRecord()
{
    FTPConnection site;
    site.Name = site.Host = site.User = site.Password = site.Port = site.Mode = QStringLiteral(" ");
    site.LocalPath = QStringLiteral("\\");
    site.ServerPath = QStringLiteral("/");
    return site;
}

} // namespace Velmora
