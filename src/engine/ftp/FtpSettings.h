#pragma once

#include "FtpClient.h"
#include "FtpEncryption.h"

namespace Velmora {

// A snapshot of the client's settings, handed to the worker with each command.
struct FtpSettings {
    QString host;
    quint16 port = FtpClient::DefaultPort;
    QString user;
    QString password;
    bool passive = true;
    FtpTimeouts timeouts;
    FtpClient::TransferType type = FtpClient::TransferType::Binary;
    FtpEncryption encryption = FtpEncryption::Plain;
    // Certificates the system does not trust are accepted when their fingerprint is one of these:
    // the one the user trusts for good, and the one accepted for this program run.
    QString trustedFingerprint;
    QString acceptedFingerprint;
};

} // namespace Velmora
