#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace Velmora::Testing {

// The test servers written in Python (pyftpdlib, asyncssh) take a free loopback port, print
// "PORT n" as their first line and end when their standard input closes.
// Starts one and returns its port, or 0 with the reason in error (the server is stopped then).
// what names the server in that reason ("FTP", "SFTP").
quint16 StartPortAnnouncingServer(QProcess &process, const QStringList &arguments, const QString &what, QString &error);
// Closes its input and waits for it to end; kills it when it does not.
void StopPortAnnouncingServer(QProcess &process);

} // namespace Velmora::Testing
