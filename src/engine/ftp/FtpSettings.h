#pragma once

#include "FtpClient.h"

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
};

} // namespace Velmora
