#include "engine/StatusText.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QList>

using namespace Velmora;

namespace {

TEST(StatusText, RewritesGermanClientTexts)
{
    const QString item = QStringLiteral("Retrieve directory listing /www");
    const QList<std::pair<QString, QString>> cases = {
        {QStringLiteral("Host-Name ftp.example.de wird aufgel\u00F6st."), QStringLiteral("Host-Name ftp.example.de")},
        {QStringLiteral("Verbinden mit 10.0.0.1."), QStringLiteral("Connect with 10.0.0.1.")},
        {QStringLiteral("Verbunden."), QStringLiteral("Connected.")},
        {QStringLiteral("VERBUNDEN."), QStringLiteral("Connected.")},
        {QStringLiteral("Verbindung hergestellt"), QStringLiteral("Connection established")},
        {QStringLiteral("FTP-Transfer wird gestartet"), QStringLiteral("FTP-Transfer started")},
        {QStringLiteral("Transfer abgeschlossen"), QStringLiteral("Transfer finished")},
        {QStringLiteral("Transfer abgebrochen"), QStringLiteral("Transfer abgebrochen")},
        {QStringLiteral("Verbindung wird getrennt."), QStringLiteral("Connection will be terminated.")},
        {QStringLiteral("Verbindung aufgehoben."), QStringLiteral("Connection terminated.")},
        // English texts pass unchanged, except that "completed" names the current item.
        {QStringLiteral("Transfer completed"), item + QStringLiteral(" Transfer completed")},
        {QStringLiteral("Connected."), QStringLiteral("Connected.")},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(RewriteStatusText(text, item), expected) << text.toStdString();
}

TEST(StatusText, StartTextsAreNotShown)
{
    EXPECT_FALSE(IsStatusTextShown(RewriteStatusText(QStringLiteral("FTP-Transfer wird gestartet"), {})));
    EXPECT_FALSE(IsStatusTextShown(QStringLiteral("FTP transfer started")));
    EXPECT_TRUE(IsStatusTextShown(QStringLiteral("Transfer finished")));
}

} // namespace
