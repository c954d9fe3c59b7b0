// Times one download or upload with Velmora's SFTP client: one file, or every file of a folder
// (into a new folder on the other side).
// Usage: sftp_transfer_bench download|upload|download-folder|upload-folder host port user key-file
//        known-hosts remote-path local-path
// The host key is accepted for this run when the known-hosts file does not hold it.
#include "engine/sftp/SftpClient.h"
#include "engine/sftp/SftpError.h"

#include <QCoreApplication>
#include <QDir>
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
    const QStringList modes = {QStringLiteral("download"), QStringLiteral("upload"), QStringLiteral("download-folder"),
                               QStringLiteral("upload-folder")};
    if (args.size() < 9 || !modes.contains(args[1])) {
        std::fprintf(stderr,
                     "usage: %s download|upload|download-folder|upload-folder host port user key-file known-hosts "
                     "remote-path local-path\n",
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
    const QString mode = args[1];
    const QString remote = args[7];
    const QString local = args[8];
    try {
        client.connectAndLogin();
        if (mode == u"download")
            QFile::remove(local);
        QElapsedTimer timer;
        timer.start();
        qint64 bytes = 0;
        int files = 0;
        if (mode == u"download") {
            bytes = client.download(remote, local).bytes;
            files = 1;
        } else if (mode == u"upload") {
            bytes = client.upload(local, remote).bytes;
            files = 1;
        } else if (mode == u"download-folder") {
            QDir().mkpath(local);
            for (const SftpEntry &entry : client.list(remote)) {
                if (entry.kind != SftpEntry::Kind::File)
                    continue;
                bytes += client.download(remote + u'/' + entry.name, local + u'/' + entry.name).bytes;
                ++files;
            }
        } else {
            client.makeDirectory(remote);
            for (const QString &name : QDir(local).entryList(QDir::Files)) {
                bytes += client.upload(local + u'/' + name, remote + u'/' + name).bytes;
                ++files;
            }
        }
        const double seconds = timer.nsecsElapsed() / 1e9;
        std::printf("%.3f s  %d files  %lld bytes  %.0f MB/s\n", seconds, files, static_cast<long long>(bytes),
                    bytes / seconds / 1e6);
        client.closeConnection();
    } catch (const SftpError &error) {
        std::fprintf(stderr, "failed: %s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
