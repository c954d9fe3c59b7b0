#pragma once

#include "FTPConnection.h"

#include <QString>

#include <functional>

namespace Velmora {

class Language;
class SiteConnector;

// The main window's side of connecting, after the site manager closed with Connect: the path
// boxes and the session get the site's data, the search-and-replace backups go (after a
// question), the old connection ends, the new one is made, both grids are listed and the
// session's counters start afresh.
class SiteConnectSequence {
public:
    // productCaption: "Velmora - " + version, the caption without a site.
    SiteConnectSequence(SiteConnector &connector, const Language &language, QString startDrive,
                        std::function<QString()> productCaption);

    // True when the session is connected afterwards. "No" to the backup question puts the
    // previous connection data and path boxes back and changes nothing else.
    bool run(const FTPConnection &site);

    // The name of the site connected last ("" before the first).
    const QString &currentSiteName() const { return m_currentSiteName; }

    // "\", blank or empty means the start drive; a folder always ends with "/".
    static QString LocalPathFor(const QString &localPath, const QString &startDrive);
    // A blank server path means the root.
    static QString ServerPathFor(const QString &serverPath);

private:
    SiteConnector &m_connector;
    const Language &m_language;
    QString m_startDrive;
    std::function<QString()> m_productCaption;
    QString m_currentSiteName;
};

} // namespace Velmora
