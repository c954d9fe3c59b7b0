// Times one download or upload with Velmora's SFTP client.
// Usage: sftp_transfer_bench download|upload host port user key-file known-hosts remote-path local-path
// The host key is accepted for this run when the known-hosts file does not hold it.
#include "engine/sftp/SftpClient.h"
#include "engine/sftp/SftpError.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

using namespace Velmora;

namespace {

class AcceptForThisRun : public SshHostKeyTrust {
public:
    Answer decide(const SshHostKey &) override { return Answer::TrustOnce; }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 9 || (args[1] != u"download" && args[1] != u"upload")) {
        std::fprintf(stderr, "usage: %s download|upload host port user key-file known-hosts remote-path local-path\n",
                     argv[0]);
        return 2;
    }
    AcceptForThisRun trust;
    SftpClient client;
    client.setHost(args[2]);
    client.setPort(quint16(args[3].toUInt()));
    client.setUser(args[4]);
    client.setKeyFile(args[5]);
    client.setUseAgent(false);
    client.setUseDefaultKeys(false);
    client.setKnownHostsFile(args[6]);
    client.setHostKeyTrust(&trust);
    const bool download = args[1] == u"download";
    try {
        client.connectAndLogin();
        if (download)
            QFile::remove(args[8]);
        QElapsedTimer timer;
        timer.start();
        const SftpTransferResult result = download ? client.download(args[7], args[8]) : client.upload(args[8], args[7]);
        const double seconds = timer.nsecsElapsed() / 1e9;
        std::printf("%.3f s  %lld bytes  %.0f MB/s\n", seconds, static_cast<long long>(result.bytes),
                    result.bytes / seconds / 1e6);
        client.closeConnection();
    } catch (const SftpError &error) {
        std::fprintf(stderr, "failed: %s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
