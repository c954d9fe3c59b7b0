#pragma once

#include "OnlineUpdateSettings.h"

#include <QObject>

namespace Velmora {

struct AppContext;
class ConnectivityCheckForm;
class ConnectivityProbe;
class MainForm;
class OnlineUpdateForm;

// The Help menu's "About", "Check now for update" and "Check for updates at program start",
// and the check at start. An update check first asks whether the machine is online: without a
// connection the connectivity window says so; otherwise the update window shows the installed
// version and where updates come from.
class HelpMenuWiring : public QObject {
    Q_OBJECT
public:
    struct Windows {
        OnlineUpdateForm &update;
        ConnectivityCheckForm &connectivity;
    };
    HelpMenuWiring(AppContext &context, MainForm &main, ConnectivityProbe &probe, const Windows &windows);

    // "Check now for update".
    void checkNow();
    // At start, when the setting says so: only a missing connection is worth a window then.
    void checkAtStart();
    void showAbout();
    QString aboutText() const;
    const OnlineUpdateSettings &settings() const { return m_settings; }

private:
    AppContext &m_context;
    MainForm &m_main;
    ConnectivityProbe &m_probe;
    Windows m_windows;
    OnlineUpdateSettings m_settings;
};

} // namespace Velmora
