#pragma once

#include "BusyScope.h"
#include "Collection.h"
#include "EventPump.h"
#include "RemoteFileStates.h"
#include "RunPlan.h"
#include "SelectionLine.h"
#include "TransferBuilderSetup.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace Velmora {

class QueueHost;

// The steps the upload and the download builder share: the transfer-mode question, entering the
// busy state, the progress lines and the used-space totals, running the queue as the automatic
// run option says, and going to the file the user chose in the filter or search window.
class CollectionSteps {
public:
    explicit CollectionSteps(const TransferBuilderSetup &setup);

    const TransferBuilderSetup &setup() const { return m_s; }
    QueueHost &queueHost() const;

    // The transfer-mode question unless "Don't show this message again" was chosen once. After
    // Abort the grid the request came from selects its remembered row again and false returns.
    bool askTransferMode(GridSide side);
    // The busy state of a new piece of work (fresh counters, its own cancel token); when the work
    // will run (automatic running, or runAtOnce) the queue grid is emptied. It lasts until
    // endBusyState, at the latest until the request that entered it is over.
    void enterBusyState(bool runAtOnce = false);
    // The idle state, now.
    void endBusyState();
    // Ends the busy state when it still lasts (a request that returned half way).
    void closeBusyScope();
    bool automaticRun() const;
    // Runs the records, or only shows them when automatic running is off and not runAtOnce.
    RunResult runQueue(const QStringList &records, bool runAtOnce = false);
    // The collection takes the walk's totals and whether Abort stopped it.
    void closeCollection(Collection &collection) const;
    // A line in the progress window with the counters as they are now.
    void progressLine(const QString &line);
    // A name that records cannot hold: a protocol error line, and the name is not collected.
    bool refusesName(const QString &name, const QString &path);
    // A path that no record can carry intact ("|", "§", a line break): the message, a protocol
    // error line, and true. Checked before anything is asked or sent.
    bool refusesPaths(const QStringList &paths);
    // Lets the window handle what is pending (Abort above all) at most every few milliseconds.
    void pump() { m_pump.pump(); }
    bool abortRequested() const;
    // The five closing lines of a used-space request; the window stays open with "Close".
    void showUsedSpaceTotals();
    // The paths the filter or the search window chose, shown in both grids; the side's grid
    // takes the focus.
    void goToChosenFile(GridSide side);
    // The same for the file the search window chose.
    void goToFile(GridSide side, const QString &remote, const QString &local);
    // The backup notice after a search and replace: the Restore button and the message.
    // notUploaded: a line per changed file that did not reach the server, saying what the
    // server holds now.
    void showBackupNotice(const QStringList &notUploaded = {});
    // After the changed files of a search and replace were sent back: reads what the server
    // holds at each of them, tells the search what the successful uploads left there, and shows
    // the notice with the truth about the others.
    void reportUploadBack(const QStringList &records, const RunResult &result);

private:
    QString serverStateLine(const QueueRecord &upload, const RemoteFileStates::State &state) const;
    // The server's file has the size and date it had when the search downloaded it.
    static bool isUntouched(const QueueRecord &upload, const RemoteFileStates::State &state);
    void showChosenLocalFile(const QString &path);
    void showChosenRemoteFile(const QString &path);

    TransferBuilderSetup m_s;
    EventPump m_pump;
    std::optional<BusyScope> m_busy;
};

} // namespace Velmora
