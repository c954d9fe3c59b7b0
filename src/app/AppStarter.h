#pragma once

#include "AppContext.h"
#include "ConsoleEchoPrompts.h"
#include "DesignState.h"
#include "Options.h"
#include "ProtocolLog.h"
#include "StartupArguments.h"
#include "SplashForm.h"
#include "WorkControl.h"
#include "browser/TypeAheadSearch.h"
#include "common/Language.h"
#include "engine/MasterFTP.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <vector>

class QDialog;

namespace Velmora {

class MainForm;
class MainSessionHost;
class OptionsForm;


// Brings the program up in its fixed order: splash, main window, engine and every dialog,
// then language and version, then the main window's show handler. Owns all of them.
class AppStarter : public QObject {
    Q_OBJECT
public:
    struct Seams {
        UserPrompts *prompts = nullptr;   // null: real dialogs
        Platform *platform = nullptr;     // null: the system's
        QString programFolder;            // empty: the executable's folder
        ConsoleEchoPrompts::LineSink console; // batch runs echo their messages here; empty: stderr
    };

    explicit AppStarter(QStringList arguments);
    AppStarter(QStringList arguments, Seams seams);
    ~AppStarter() override;

    // Runs the start-up; false when the program must end at once (bad command line).
    bool start();

    AppContext &context() { return m_context; }
    MainForm *mainForm() const { return m_mainForm.get(); }
    OptionsForm *optionsForm() const;
    SplashForm *splash() const { return m_splash; }
    const QStringList &creationOrder() const { return m_creationOrder; }
    QDialog *dialog(const QString &objectName) const;

private:
    void createWindows();
    void readLanguageAndVersion();
    void wireWindows();
    void wireEngine();
    template <typename Form>
    Form *createDialog();

    QStringList m_arguments;
    Seams m_seams;
    AppContext m_context;
    Language m_language;
    std::unique_ptr<Options> m_options;
    std::unique_ptr<ProtocolLog> m_protocol;
    WorkControl m_work;
    DesignState m_design;
    TypeAheadSearch m_typeAhead;
    std::unique_ptr<Platform> m_ownPlatform;
    std::unique_ptr<UserPrompts> m_ownPrompts;
    std::unique_ptr<ConsoleEchoPrompts> m_consolePrompts;
    std::unique_ptr<MainForm> m_mainForm;
    std::unique_ptr<MasterFTP> m_ftp;
    std::unique_ptr<MainSessionHost> m_sessionHost;
    std::vector<QDialog *> m_dialogs; // owned by the main window
    QPointer<SplashForm> m_splash;
    QStringList m_creationOrder;
};

} // namespace Velmora
