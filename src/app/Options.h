#pragma once

#include <QList>
#include <QObject>
#include <QString>

namespace Velmora {

// The program-wide settings of "options.ini", one field per key.
struct OptionsData {
    bool logfiles = false;
    bool ftpConnections = true;
    bool allwaysOverwrite = false;
    bool automaticRunQueue = true;
    bool internalEditor = true;
    bool startWithSystemExtension = false; // stored under "ExternalEditor"
    bool externalEditor = false;           // stored under "ExtensionEditor"
    QString externalEditorExe;
    bool keepalive = false;
    QString keepaliveTime = QStringLiteral("30");
    bool filterOn = false;
    bool showCharts = true;
    bool closeCharts = true;
    bool resetCharts = true;
    // "KeyringPasswords": site and login passwords in the desktop keyring. Until the user
    // chooses (keyringPasswordsChosen false, key absent), it is on when a keyring answers at start.
    bool keyringPasswords = false;
    bool keyringPasswordsChosen = false;
    // "SimultaneousTransfers": how many downloads and uploads a queue run carries out at once,
    // each on its own connection (1 to 8). The key is written only when it is not 1, so a file
    // of someone who never changed it stays as it was.
    int simultaneousTransfers = 1;

    static constexpr int MinSimultaneousTransfers = 1;
    static constexpr int MaxSimultaneousTransfers = 8;

    bool operator==(const OptionsData &) const = default;
};

// Reads and writes "options.ini". The one owner of every option in memory: readers elsewhere
// take the current values from here, and every change goes through here, so no copy of an
// option (a dialog's control, a button's caption) can drift from it and be saved back later.
//
// A value can be in effect without being stored: the options dialog's immediate effects before
// OK, and a batch job's automatic running. Saving writes the stored value for such a field, so
// a later save of another option never makes it permanent behind the user's back.
class Options : public QObject {
    Q_OBJECT
public:
    using Switch = bool OptionsData::*;

    explicit Options(QString filePath, QObject *parent = nullptr);

    // The values in effect.
    const OptionsData &data() const { return m_data; }
    // Replaces every value (the options dialog's OK); nothing is held back from saving any more.
    void setData(const OptionsData &data);
    // One switch changes in effect and in the file at once (the AUTO/MAN button, the charts
    // panel's close box, the filter switch). False when the file cannot be written.
    bool change(Switch field, bool value);
    // One switch changes in effect only; the file keeps (and later saves keep) its stored value
    // until change(), setData() or load() for it.
    void applyUnsaved(Switch field, bool value);
    // The value saving writes for this switch.
    bool storedValue(Switch field) const;

    // Reads the file (defaults for a missing file or key). Returns false and leaves the interval
    // at 30 when "KeepaliveTime" holds something other than digits, and takes the nearest
    // allowed number (1 for no number) when "SimultaneousTransfers" is not a whole number from
    // 1 to 8; *problem then says why (one line each).
    bool load(QString *problem = nullptr);
    bool save() const;

    // The keep-alive interval in seconds.
    int keepaliveSeconds() const;

    // Only the digits 0 to 9, not empty: "030" is fine, " 30" and "3a" are not.
    static bool isValidInterval(const QString &text);

    static OptionsData parse(const QString &iniText, bool *intervalOk = nullptr, bool *simultaneousOk = nullptr);
    static QString toIniText(const OptionsData &data);

Q_SIGNALS:
    void changed();

private:
    struct Held {
        Switch field;
        bool stored;
    };
    OptionsData toStore() const;

    QString m_filePath;
    OptionsData m_data;
    QList<Held> m_held;
};

} // namespace Velmora
