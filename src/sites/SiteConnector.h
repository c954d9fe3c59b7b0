#pragma once

#include "engine/ftp/FtpEncryption.h"

#include <QString>

namespace Velmora {

// What connecting to a chosen site needs of the main window and the FTP session. The program
// implements it on the main window and MasterFTP; tests record the calls.
class SiteConnector {
public:
    struct ConnectionData {
        QString host;
        QString port;
        QString user;
        QString password;
        int activeMode = 0; // 1: active mode
        FtpEncryption encryption = FtpEncryption::Plain;
        QString keyFile; // SFTP: the site's private key file, empty for none
        // The keyring entry that holds the password when the keyring could not give it (locked);
        // empty when the password above is the site's.
        QString lockedPasswordEntry;

        bool operator==(const ConnectionData &) const = default;
    };

    virtual ~SiteConnector() = default;

    virtual ConnectionData connectionData() const = 0;
    virtual void setConnectionData(const ConnectionData &data) = 0;
    // The main window's two path boxes.
    virtual QString localPathText() const = 0;
    virtual QString serverPathText() const = 0;
    virtual void setPathTexts(const QString &localPath, const QString &serverPath) = 0;
    // Deletes the search-and-replace backups after the question; false when the user said No.
    virtual bool deleteAllBackups(const QString &question) = 0;
    virtual bool isConnected() const = 0;
    virtual void disconnect() = 0;
    // Connects and logs in with the connection data; true when connected.
    virtual bool connect(bool clearQueueGrid) = 0;
    virtual void setCaption(const QString &caption) = 0;
    // Lists the folder of the server path box and selects the first row.
    virtual void listServer() = 0;
    // Lists the folder of the local path box and selects the first row.
    virtual void listLocal() = 0;
    virtual void stopFileMonitoring() = 0;
    virtual void resetRetryCounter() = 0;
    // The overwrite question is asked again unless "Always overwrite files" is on.
    virtual void resetOverwriteQuestion() = 0;
    virtual void setIdleState() = 0;
};

} // namespace Velmora
