// Downloads one file with Velmora's FTP client and prints the time it took.
// Usage: engine_download_bench host port user password remote-path local-path [active]
// With VELMORA_BENCH_ENCRYPTION=ftpes (or ftps, ftp-tls-if-available) it connects over TLS; the
// server's certificate must be trusted (SSL_CERT_FILE names the authority).
#include "engine/EncryptionChoice.h"
#include "engine/ftp/FtpError.h"
#include "engine/ftp/QtFtpClient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

using namespace Velmora;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 7) {
        std::fprintf(stderr, "usage: %s host port user password remote-path local-path [active]\n", argv[0]);
        return 2;
    }
    QtFtpClient client;
    client.setHost(args[1]);
    client.setPort(quint16(args[2].toUInt()));
    client.setUser(args[3]);
    client.setPassword(args[4]);
    client.setPassive(!(args.size() > 7 && args[7] == u"active"));
    if (const auto encryption = EncryptionChoice::FromKeyword(qEnvironmentVariable("VELMORA_BENCH_ENCRYPTION")))
        client.setEncryption(*encryption);
    QFile::remove(args[6]);
    try {
        client.connectAndLogin();
        QElapsedTimer timer;
        timer.start();
        client.download(args[5], args[6]);
        const double seconds = timer.nsecsElapsed() / 1e9;
        const qint64 bytes = QFileInfo(args[6]).size();
        std::printf("%.3f s  %lld bytes  %.0f MB/s\n", seconds, static_cast<long long>(bytes), bytes / seconds / 1e6);
        client.quit();
    } catch (const FtpError &error) {
        std::fprintf(stderr, "failed: %s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
