#include "HelpMenuWiring.h"

#include "ConnectivityCheckForm.h"
#include "ConnectivityProbe.h"
#include "MainForm.h"
#include "OnlineUpdateForm.h"

#include "app/AppContext.h"
#include "app/UserPrompts.h"
#include "app/WindowFront.h"

#include <QAction>

namespace Velmora {

HelpMenuWiring::HelpMenuWiring(AppContext &context, MainForm &main, ConnectivityProbe &probe, const Windows &windows)
    : QObject(&main)
    , m_context(context)
    , m_main(main)
    , m_probe(probe)
    , m_windows(windows)
    , m_settings(context.folders.appDataFile(OnlineUpdateSettings::FileName))
{
    main.setUpdateCheckAtStart(m_settings.checkAtStart());
    connect(&main, &MainForm::updateCheckAtStartToggled, this, [this](bool on) { m_settings.setCheckAtStart(on); });
    connect(&main, &MainForm::updateCheckRequested, this, &HelpMenuWiring::checkNow);
    connect(&main, &MainForm::aboutRequested, this, &HelpMenuWiring::showAbout);
}

void HelpMenuWiring::checkNow()
{
    const ConnectivityProbe::State state = m_probe.state();
    if (state == ConnectivityProbe::State::Offline) {
        m_windows.connectivity.showState(state);
        return;
    }
    m_windows.update.show();
    WindowFront::raise(m_windows.update);
}

void HelpMenuWiring::checkAtStart()
{
    if (!m_settings.checkAtStart())
        return;
    const ConnectivityProbe::State state = m_probe.state();
    if (state == ConnectivityProbe::State::Offline)
        m_windows.connectivity.showState(state);
}

QString HelpMenuWiring::aboutText() const
{
    return QStringLiteral("Velmora - ") + m_context.versionText + u'\n'
           + m_context.text(QStringLiteral("FTP client with transfer filter, queue, search and replace and site manager."),
                            QStringLiteral("FTP-Client mit Transferfilter, Warteschlange, Suchen und Ersetzen und Verbindungsverwaltung."))
           + u'\n'
           + m_context.text(QStringLiteral("Licence: GNU General Public License, version 3 or later."),
                            QStringLiteral("Lizenz: GNU General Public License, Version 3 oder später."));
}

void HelpMenuWiring::showAbout()
{
    m_context.prompts.information(aboutText());
}

} // namespace Velmora
