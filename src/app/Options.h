#pragma once

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

    bool operator==(const OptionsData &) const = default;
};

// Reads and writes "options.ini". Readers elsewhere take the current values from here.
class Options : public QObject {
    Q_OBJECT
public:
    explicit Options(QString filePath, QObject *parent = nullptr);

    const OptionsData &data() const { return m_data; }
    void setData(const OptionsData &data);

    // Reads the file (defaults for a missing file or key). Returns false and leaves the interval
    // at 30 when "KeepaliveTime" holds something other than digits; *problem then says why.
    bool load(QString *problem = nullptr);
    bool save() const;

    // The keep-alive interval in seconds.
    int keepaliveSeconds() const;

    // Only the digits 0 to 9, not empty: "030" is fine, " 30" and "3a" are not.
    static bool isValidInterval(const QString &text);

    static OptionsData parse(const QString &iniText, bool *intervalOk = nullptr);
    static QString toIniText(const OptionsData &data);

Q_SIGNALS:
    void changed();

private:
    QString m_filePath;
    OptionsData m_data;
};

} // namespace Velmora
