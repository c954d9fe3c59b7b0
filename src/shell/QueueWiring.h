#pragma once

#include "QueueControls.h"

#include "queue/LastQueueStore.h"
#include "queue/QueueHost.h"
#include "queue/TreeWalker.h"

#include <QObject>

class QAction;
class QMenu;

namespace Velmora {

class AskOverwriteForm;
class GetFilesListForm;
class MainForm;
class MainFormProgressView;
class MainWindowPort;
class MasterFTP;
class OptionsForm;
class QueueController;
class QueueGridModel;
class QueueRunner;
class QueueTableModel;
class TrafficChartsWidget;
struct AppContext;
struct WorkControl;

// Puts the transfer queue into the main window: the queue grid's model, the queue bar and its
// popup menu, the progress panel and the charts, the overwrite question and the progress window
// of the tree walks.
class QueueWiring : public QObject {
    Q_OBJECT
public:
    struct Windows {
        AskOverwriteForm &overwriteQuestion;
        GetFilesListForm &walkProgress;
        OptionsForm &options;
    };

    QueueWiring(AppContext &context, MainForm &main, MainWindowPort &port, MasterFTP &ftp, WorkControl &work,
                const Windows &windows);
    ~QueueWiring() override;

    QueueTableModel &model() { return *m_model; }
    QueueGridModel &gridModel() { return *m_gridModel; }
    QueueRunner &runner() { return *m_runner; }
    QueueController &controller() { return *m_controller; }
    TreeWalker &walker() { return m_walker; }
    TrafficChartsWidget &charts() { return *m_charts; }
    MainFormProgressView &view() { return *m_view; }
    // The main window as the queue sees it.
    QueueHost &host() { return m_host; }
    QMenu *popupMenu() const { return m_popup; }
    QAction *deleteLinesAction() const { return m_deleteLines; }

    // "Delete line(s)" for the grid's selected rows.
    void deleteSelectedLines();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectQueueBar(OptionsForm &options);
    void retranslate();

    AppContext &m_context;
    MainForm &m_main;
    QueueControls m_w;
    QueueTableModel *m_model;
    QueueGridModel *m_gridModel;
    LastQueueStore m_store;
    QueueHost &m_host;
    TrafficChartsWidget *m_charts;
    MainFormProgressView *m_view;
    QueueRunner *m_runner;
    QueueController *m_controller;
    TreeWalker m_walker;
    QMenu *m_popup = nullptr;
    QAction *m_deleteLines = nullptr;
};

} // namespace Velmora
