#pragma once

#include <QString>

namespace Velmora {

// The update check's own setting, "check for updates at program start", kept in "Update.ini"
// (section "SETTINGS", key "CheckAtStart") in the application data folder: the program folder
// of an installed program is not the user's to write. Off unless the user switched it on.
class OnlineUpdateSettings {
public:
    static inline const QString FileName = QStringLiteral("Update.ini");

    explicit OnlineUpdateSettings(QString path);

    bool checkAtStart() const;
    bool setCheckAtStart(bool on) const;
    const QString &path() const { return m_path; }

private:
    QString m_path;
};

} // namespace Velmora
