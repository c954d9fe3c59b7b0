#pragma once

#include "FTPConnection.h"

#include <QList>
#include <QStringList>

namespace Velmora {

// What one importer found in a file: the sites in file order, and notes on parts of the file
// that could not become sites (shown as protocol error lines).
struct SiteImportResult {
    struct Problem {
        QString english;
        QString german;
    };
    QList<FTPConnection> sites;
    QList<Problem> problems;
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
