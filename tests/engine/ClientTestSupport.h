#pragma once

#include "engine/ftp/FtpClient.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace Velmora::Testing {

// Records the events of an FTP client as short texts: "status: Connected.", "connected",
// "begin: download 5", "work: download 5", "end: download".
class ClientEventLog : public QObject {
public:
    explicit ClientEventLog(FtpClient &client)
    {
        const auto dir = [](FtpClient::Direction d) {
            return d == FtpClient::Direction::Download ? QStringLiteral("download") : QStringLiteral("upload");
        };
        connect(&client, &FtpClient::statusReported, this, [this](const QString &t) { events << QStringLiteral("status: ") + t; });
        connect(&client, &FtpClient::warningReported, this, [this](const QString &t) { events << QStringLiteral("warning: ") + t; });
        connect(&client, &FtpClient::connected, this, [this] { events << QStringLiteral("connected"); });
        connect(&client, &FtpClient::workBegan, this, [this, dir](FtpClient::Direction d, qint64 n) {
            events << QStringLiteral("begin: %1 %2").arg(dir(d)).arg(n);
        });
        connect(&client, &FtpClient::workProgressed, this, [this, dir](FtpClient::Direction d, qint64 n) {
            events << QStringLiteral("work: %1 %2").arg(dir(d)).arg(n);
            lastWork = n;
        });
        connect(&client, &FtpClient::workEnded, this, [this, dir](FtpClient::Direction d) {
            events << QStringLiteral("end: %1").arg(dir(d));
        });
    }
    QStringList events;
    qint64 lastWork = -1;
};

// Bytes of every value, with CR, LF and CR LF among them: a binary transfer must keep them all.
inline QByteArray binarySample(int repeat = 64)
{
    QByteArray bytes;
    for (int r = 0; r < repeat; ++r) {
        for (int i = 0; i < 256; ++i)
            bytes.append(char(i));
        bytes.append("\r\n\n\r");
    }
    return bytes;
}

} // namespace Velmora::Testing
