#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace Velmora {

struct ProtocolEntry {
    // Warning: a status the user must notice (the connection goes on, but weaker than asked).
    enum Kind { Command = 0, Status = 1, Error = 2, KeepAlive = 3, Warning = 4 };
    int kind = Status;
    int number = 0;
    QString text;

    // "0001", "0002", ... "9999", "10000".
    QString numberText() const;
    // kind + "§" + number + "§" + text, the line of "protocol_messages.log".
    QString logLine() const;
};

// The numbered protocol of everything the engine does. Rows are kept for the whole run (the
// grid shows them through a model); with "Write logfiles" on, "protocol_messages.log" always
// holds every row. It is appended line by line, and rewritten whole only when it may be out of
// step (the first write of a run, or after logging was switched back on).
class ProtocolLog : public QObject {
    Q_OBJECT
public:
    explicit ProtocolLog(QString appDataFolder, QObject *parent = nullptr);

    void AddProtocolMessage(int kind, const QString &text);
    void setWriteLogfiles(bool on);
    bool writeLogfiles() const { return m_writeLogfiles; }

    const QList<ProtocolEntry> &entries() const { return m_entries; }
    int counter() const { return m_counter; }

    // Writes lines to appDataFolder + fileName, replacing the file. Callers check the
    // "Write logfiles" option themselves.
    bool WriteLogFile(const QString &fileName, const QStringList &lines) const;
    void SaveProtocolLog();

    static inline const QString LogFileName = QStringLiteral("protocol_messages.log");

Q_SIGNALS:
    void messageAdded(const Velmora::ProtocolEntry &entry);

private:
    QString m_appDataFolder;
    QList<ProtocolEntry> m_entries;
    int m_counter = 0;
    bool m_writeLogfiles = false;
    qsizetype m_rowsInLogFile = -1; // -1: the file must be rewritten whole
    bool m_logIsUtf8 = false;
};

} // namespace Velmora
