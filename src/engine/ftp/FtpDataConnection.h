#pragma once

#include <QHostAddress>
#include <QSslCertificate>
#include <QSslConfiguration>

#include <atomic>
#include <functional>
#include <memory>

class QIODevice;
class QTcpServer;
class QTcpSocket;

namespace Velmora {

class AsciiConverter;

// One data connection, driven with blocking calls from the worker thread: either connected to
// the server (passive mode) or accepted from it (active mode). Waits run in short slices so
// that an abort request or a shutdown is seen at once.
class FtpDataConnection {
public:
    enum class Result { Finished, Aborted };
    using Consumer = std::function<void(const char *data, qint64 size)>;
    using Progress = std::function<void(qint64 bytesSoFar)>;

    FtpDataConnection(const std::atomic_bool &abortRequested, const std::atomic_bool &stopping, int connectTimeoutMs,
                      int idleTimeoutMs);
    ~FtpDataConnection();

    // Passive mode: connect to the server's data port.
    void connectTo(const QHostAddress &address, quint16 port);
    // Active mode: listen on the control connection's local address; gives the port.
    quint16 listen(const QHostAddress &localAddress);
    // Active mode: take the server's connection. Connections from any other host than the
    // control connection's peer are turned away. False when an abort was requested meanwhile.
    bool accept(const QHostAddress &serverAddress);

    // FTP over TLS ("PROT P"): set before connectTo or listen. The connection resumes the TLS
    // session in the configuration and must present the control connection's certificate.
    void setTls(const QSslConfiguration &configuration, const QString &verifyName, const QSslCertificate &expected);
    // Ends the TLS handshake that connectTo or accept started; called once the server answered
    // the data command (some servers take up the data connection only then).
    void finishTls();

    // Reads until the server closes the connection.
    Result receive(const Consumer &consume, const Progress &progress);
    // Sends the whole source (through the converter when given), then closes. The progress
    // counts the bytes read from the source; wireBytes, when given, receives the bytes sent.
    Result send(QIODevice &source, AsciiConverter *converter, const Progress &progress, qint64 *wireBytes = nullptr);
    void close();

private:
    void throwTimeout() const;
    void beginTls();

    const std::atomic_bool &m_abortRequested;
    const std::atomic_bool &m_stopping;
    int m_connectTimeoutMs;
    int m_idleTimeoutMs;
    std::unique_ptr<QTcpServer> m_server;
    std::unique_ptr<QTcpSocket> m_socket;
    bool m_tls = false;
    QSslConfiguration m_tlsConfiguration;
    QString m_verifyName;
    QSslCertificate m_expectedCertificate;
};

} // namespace Velmora
