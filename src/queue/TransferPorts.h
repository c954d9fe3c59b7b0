#pragma once

#include "SelectionLine.h"

#include "common/ListingEntry.h"
#include "filter/FilterWindowMode.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace Velmora {

// What the upload and download builders need of the main window besides the queue host: the
// selected rows of a grid, the local path box, the grids' remembered rows and the focus.
class TransferHost {
public:
    virtual ~TransferHost() = default;

    // The selected rows of a grid in grid order, without the ".." row.
    virtual QList<SelectionLine> selectionLines(GridSide side) const = 0;
    virtual void setLocalPathText(const QString &path) = 0;
    // The grid selects its remembered row again.
    virtual void restoreRememberedRow(GridSide side) = 0;
    // Selects the first row of that name (row 0 when there is none).
    virtual void selectRowByName(GridSide side, const QString &name) = 0;
    // The grid takes the focus when it is enabled and visible.
    virtual void focusGrid(GridSide side) = 0;
};

// The transfer filter as the workflows see it: whether it is switched on, and its window over
// collected records.
class TransferFilter {
public:
    virtual ~TransferFilter() = default;

    virtual bool isInUse() const = 0;
    // Opens the filter window modally over the records. After OK: what the window hands back in
    // its mode (the ticked rows' records to execute, the chosen files' records for a search
    // step, nothing for "Goto selected file"); after Cancel nothing (nullopt).
    virtual std::optional<QStringList> chooseRecords(FilterWindowMode mode, const QStringList &records) = 0;
    // The file the user chose in the filter or search window (for "go to the chosen file").
    virtual QString chosenRemoteFile() const = 0;
    virtual QString chosenLocalFile() const = 0;
    // After the window was left with OK: the "Server / Local File:" text of every ticked row,
    // top to bottom. A local deletion deletes these files itself: its "DELLOC" rows become no
    // queue records. Without ticked rows (or without a window) nothing is deleted.
    virtual QStringList chosenFiles() const { return {}; }
};

// No filter window: the filter is never in use.
class NoTransferFilter : public TransferFilter {
public:
    bool isInUse() const override { return false; }
    std::optional<QStringList> chooseRecords(FilterWindowMode, const QStringList &) override { return std::nullopt; }
    QString chosenRemoteFile() const override { return {}; }
    QString chosenLocalFile() const override { return {}; }
};

// The search window after a filtered search request, and the main window's Restore button.
class SearchFollowUp {
public:
    enum class Outcome {
        Aborted,      // closed with its close button
        Done,         // OK, nothing to upload
        UploadWanted, // OK, and the changed files go back to the server
    };
    virtual ~SearchFollowUp() = default;

    // Opens the search window over the files the filter window chose (in the hand-over file).
    virtual Outcome execSearchWindow(bool replaceMode) = 0;
    // After UploadWanted: the records that send the changed files where they belong.
    virtual QStringList transferRecords() const { return {}; }
    virtual void showRestoreButton() = 0;
    // After the changed files went back: what each upload that succeeded left on the server
    // (its listing entry as read just after the run; none when it could not be read), so a
    // restore can tell a later change by someone else.
    struct UploadLeft {
        QString remotePath;
        std::optional<ListingEntry> entry;
    };
    // untouched: the working copies whose upload failed while the server kept its file as it was
    // (same size and date as when it was downloaded): the backups need not put them back.
    virtual void uploadsEnded(const QList<UploadLeft> & /*left*/, const QStringList & /*untouched*/) {}
    // The file chosen with the search window's "Goto selected file" (Outcome Done).
    virtual QString chosenRemoteFile() const { return {}; }
    virtual QString chosenLocalFile() const { return {}; }
};

// No search window: a search ends as if it was aborted.
class NoSearchFollowUp : public SearchFollowUp {
public:
    Outcome execSearchWindow(bool) override { return Outcome::Aborted; }
    void showRestoreButton() override {}
};

} // namespace Velmora
