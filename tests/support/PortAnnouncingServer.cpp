#include "PortAnnouncingServer.h"

#include <QDeadlineTimer>

namespace Velmora::Testing {

quint16 StartPortAnnouncingServer(QProcess &process, const QStringList &arguments, const QString &what, QString &error)
{
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!process.waitForStarted(10000)) {
        error = QStringLiteral("python3 did not start: ") + process.errorString();
        return 0;
    }
    QByteArray output;
    QDeadlineTimer deadline(15000);
    while (!output.contains('\n') && !deadline.hasExpired() && process.state() == QProcess::Running) {
        process.waitForReadyRead(100);
        output += process.readAllStandardOutput();
    }
    const QByteArray line = output.left(output.indexOf('\n')).trimmed();
    if (!line.startsWith("PORT ")) {
        error = QStringLiteral("the %1 server did not start: ").arg(what) + QString::fromLocal8Bit(process.readAllStandardError());
        StopPortAnnouncingServer(process);
        return 0;
    }
    return quint16(line.mid(5).toUInt());
}

void StopPortAnnouncingServer(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.closeWriteChannel();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

} // namespace Velmora::Testing
