#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QMutex>

#include <atomic>
#include <memory>

class QThread;
class QTcpServer;
class QTcpSocket;

namespace Velmora::Testing {

// A small FTP server with scripted replies, for what a real server will not do (230 after
// USER, 500 on SYST, MS-DOS listings, odd multi-line replies, silence, a PASV reply naming
// another host). It serves one control connection at a time in its own thread, on a free
// 127.0.0.1 port, and records every command it receives.
//
// A rule answers the commands that equal its command text or start with it and a blank
// (exact matches win). Its reply is sent as it is, lines separated by "\n" (sent as CR LF). For
// data commands (LIST, NLST, RETR) a reply whose first line is preliminary ("150 ...") is split:
// the first line, then the data over the data connection, then the remaining lines. An empty
// reply means silence. Commands without a rule get plain answers (331 for USER, 230 for PASS,
// 215 for SYST, 257 for PWD, 250 for CWD, 200 for TYPE, passive and active mode handled, STOR
// stores what it receives, 502 for anything else).
class ScriptedFtpServer {
public:
    ScriptedFtpServer();
    ~ScriptedFtpServer();
    ScriptedFtpServer(const ScriptedFtpServer &) = delete;
    ScriptedFtpServer &operator=(const ScriptedFtpServer &) = delete;

    // Empty: the server accepts connections and never says a word.
    void setGreeting(const QByteArray &greeting) { m_greeting = greeting; }
    void addRule(const QByteArray &command, const QByteArray &reply, const QByteArray &data = {});
    // A data command that sends the first line of its reply and the data, then holds the data
    // connection open without another word until the client closes it.
    void addStallingRule(const QByteArray &command, const QByteArray &firstLine, const QByteArray &data = {});
    // What a PASV reply names as host ("10,9,8,7"); the data port listens on 127.0.0.1 only.
    void setPasvHost(const QByteArray &commaSeparatedHost) { m_pasvHost = commaSeparatedHost; }
    void setEpsvEnabled(bool enabled) { m_epsv = enabled; }
    // When not 0: a data command sends at most this many bytes of its rule's data and then
    // reports success all the same, as a broken server may. A REST the rules accept (350)
    // makes the next data command send its data from that offset on.
    void setTransferLimit(qint64 bytes) { m_transferLimit = bytes; }

    bool start();
    void stop();
    quint16 port() const { return m_port; }

    QList<QByteArray> commands() const;
    bool received(const QByteArray &command) const;
    // Bytes received by STOR, by the argument as sent.
    QByteArray upload(const QByteArray &argument) const;

private:
    struct Rule {
        QByteArray command;
        QByteArray reply;
        QByteArray data;
        bool stall = false;
    };

    void run();
    void serve(QTcpSocket &control);
    bool readLine(QTcpSocket &socket, QByteArray &line);
    void sendReply(QTcpSocket &socket, const QByteArray &reply);
    const Rule *findRule(const QByteArray &line) const;
    QTcpSocket *openData();
    void handleDataCommand(QTcpSocket &control, const QByteArray &verb, const QByteArray &argument, const Rule *rule);

    QByteArray m_greeting = "220 Scripted server ready.";
    QByteArray m_pasvHost;
    bool m_epsv = true;
    qint64 m_transferLimit = 0;
    qint64 m_restAt = 0; // on the server's thread
    QList<Rule> m_rules;

    std::unique_ptr<QThread> m_thread;
    std::atomic_bool m_stopping{false};
    std::atomic<quint16> m_port{0};
    std::unique_ptr<QTcpServer> m_passive;     // lives in the server thread while in use
    QHostAddress m_activeHost;
    quint16 m_activePort = 0;

    mutable QMutex m_mutex;
    QList<QByteArray> m_commands;
    QHash<QByteArray, QByteArray> m_uploads;
};

} // namespace Velmora::Testing
