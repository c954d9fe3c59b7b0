#include "SiteConnectSequence.h"

#include "SiteConnector.h"

#include "common/Language.h"

namespace Velmora {

SiteConnectSequence::SiteConnectSequence(SiteConnector &connector, const Language &language, QString startDrive,
                                         std::function<QString()> productCaption)
    : m_connector(connector)
    , m_language(language)
    , m_startDrive(std::move(startDrive))
    , m_productCaption(std::move(productCaption))
{
}

QString SiteConnectSequence::LocalPathFor(const QString &localPath, const QString &startDrive)
{
    const QString trimmed = localPath.trimmed();
    if (trimmed.isEmpty() || trimmed == u'\\')
        return startDrive;
    return localPath.endsWith(u'/') ? localPath : localPath + u'/';
}

QString SiteConnectSequence::ServerPathFor(const QString &serverPath)
{
    return serverPath.trimmed().isEmpty() ? QStringLiteral("/") : serverPath;
}

bool SiteConnectSequence::run(const FTPConnection &site)
{
    const SiteConnector::ConnectionData previous = m_connector.connectionData();
    const QString previousLocal = m_connector.localPathText();
    const QString previousServer = m_connector.serverPathText();

    m_connector.setPathTexts(LocalPathFor(site.LocalPath, m_startDrive), ServerPathFor(site.ServerPath));
    m_connector.setConnectionData(
        {site.Host, site.Port, site.User, site.Password, site.isPassive() ? 0 : 1, site.encryption(), site.KeyFile,
         site.PasswordUnread ? site.PasswordKey : QString()});

    const QString question = m_language.text(
        QStringLiteral("If you change the host, all \"search and replace\" backups will be deleted! Change the host?"),
        QString::fromUtf8("Wenn Sie den Host wechseln werden alle \"Suchen und Ersetzen\" Backups gelöscht. Wollen Sie wirklich den Host wechseln?"));
    if (!m_connector.deleteAllBackups(question)) {
        // The old connection stays as it was, and a silent reconnect must find the old server.
        m_connector.setConnectionData(previous);
        m_connector.setPathTexts(previousLocal, previousServer);
        return false;
    }
    m_currentSiteName = site.Name;

    if (m_connector.isConnected())
        m_connector.disconnect();
    // A newly chosen site gets all its attempts, even after three failures with another one.
    m_connector.resetRetryCounter();
    const bool connected = m_connector.connect(true);
    if (connected) {
        m_connector.setCaption(m_productCaption() + QStringLiteral(" - ") + m_currentSiteName);
        m_connector.listServer();
    }
    m_connector.listLocal();
    m_connector.stopFileMonitoring();
    m_connector.resetRetryCounter();
    m_connector.resetOverwriteQuestion();
    m_connector.setIdleState();
    return connected;
}

} // namespace Velmora
