#pragma once

#include "FTPConnection.h"
#include "SiteTransport.h"

#include <QList>
#include <QStringList>

namespace Velmora {

// What one importer found in a file: the sites in file order, the sites left out because the
// other client reaches them encrypted or with another protocol, and notes on parts of the file
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

    // Takes the site over, or leaves it out when the transport the file records for it (or a
    // URL scheme in its host) is one a plain FTP site cannot reproduce. True when taken over.
    bool add(const FTPConnection &site, SiteTransport::Kind transport = SiteTransport::Ftp, const QString &record = {})
    {
        if (SiteTransport::TakenOver(transport)) {
            QString scheme;
            transport = SiteTransport::FromHost(site.Host, &scheme);
            if (SiteTransport::TakenOver(transport)) {
                sites.append(site);
                return true;
            }
            leftOut.append({site, transport, scheme});
            return false;
        }
        leftOut.append({site, transport, record});
        return false;
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
