#pragma once

#include "SitesTestSupport.h"

#include "AppFixture.h"
#include "sites/ConnectionStore.h"
#include "sites/EditFTPDataForm.h"
#include "sites/FTPConnectionsForm.h"

#include "app/DialogHeader.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTcpServer>
#include <QTest>
#include <QToolButton>

namespace Velmora::Testing {

// A program start in a profile with the given sites, and handles on the two site windows.
class SiteWindowTest : public AppFixture {
protected:
    void SetUp() override { existingProfile(); }

    void storeSites(const QList<FTPConnection> &list)
    {
        ConnectionStore store(env.appDataFolder());
        store.sites() = list;
        ASSERT_TRUE(store.SaveConnections());
    }
    // Starts the program without letting its start-up timer open the site manager.
    void startQuietly()
    {
        ASSERT_TRUE(start());
        main().siteManagerTimer().stop();
        prompts.clear();
    }
    // Opens the site manager as the main window's "FTP connections" button does.
    void openSites()
    {
        w().connectionsButton->click();
        ASSERT_TRUE(sites().isVisible());
    }
    FTPConnectionsForm &sites() { return *starter->dialogs().sites; }
    EditFTPDataForm &edit() { return *starter->dialogs().editSite; }
    template <typename T>
    T *sitesControl(const char *name) { return sites().findChild<T *>(QString::fromLatin1(name)); }
    QLineEdit *editField(const char *name) { return edit().findChild<QLineEdit *>(QString::fromLatin1(name)); }
    QPushButton *editButton(const char *name) { return edit().findChild<QPushButton *>(QString::fromLatin1(name)); }

    void key(int keyCode, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(sites().grid(), Qt::Key(keyCode), modifiers);
    }
    int selectedRow() { return sites().grid()->selectionModel()->currentIndex().row(); }
    QStringList storedNames()
    {
        ConnectionStore store(env.appDataFolder());
        store.LoadConnections();
        QStringList names;
        for (const FTPConnection &s : store.sites())
            names.append(s.Name);
        return names;
    }
    static void fire(QTimer &timer)
    {
        timer.stop();
        QMetaObject::invokeMethod(&timer, "timeout", Qt::DirectConnection);
    }
};

// A loopback port nobody listens on: a connection attempt is refused at once.
inline QString closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QString::number(port);
}

// A site whose server refuses the connection at once.
inline FTPConnection namedSite(const QString &name)
{
    return site(name, QStringLiteral("127.0.0.1"), QStringLiteral("user"), QStringLiteral("pw"), closedPort(),
                QStringLiteral("\\"), QStringLiteral("/"), QStringLiteral("Passive"));
}

} // namespace Velmora::Testing
