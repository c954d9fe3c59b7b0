#pragma once

#include "FilterCriteria.h"
#include "FilterRow.h"
#include "FilterWindowMode.h"

#include "app/ToolDialog.h"

#include <QStringList>
#include <QTimer>

#include <functional>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableView;

namespace Velmora {

class FilterCriteriaPanel;
class FilterGridModel;

// The filter window: the user edits the criteria, sees the filtered queue (the records of the
// queue list that pass) with a tick per row and a summary, and confirms with the mode's action
// button: "Execute", "Goto selected file" or one of the two "Step2" buttons. Load, Save and
// Reset handle filter files. The window and its criteria live for the whole run; they are the
// criteria every filtered request uses.
//
// An evaluation runs 400 ms after the window is shown and after a burst of changes, at once
// after a filter file is loaded. It works through the queue list in chunks and lets pending
// events through between chunks, so a list of 100,000 records keeps the window responsive.
class FilterForm : public ToolDialog {
    Q_OBJECT
public:
    FilterForm(const AppContext &context, QWidget *parent);
    ~FilterForm() override;

    // The records the next evaluation filters (the engine's queue list).
    void setQueueList(const QStringList &records) { m_queueList = records; }
    // The local path box's text, which Step2 moves into the working folder.
    void setLocalPathSource(std::function<QString()> source) { m_localPath = std::move(source); }
    // How the Date column shows dates (the queue grid's format).
    void setDateDisplay(std::function<QString(const QString &)> display);

    // Sets the window up for a mode as it is shown: title, buttons, height, the extension
    // emptied for the searches, the focus, the beep, the evaluation timer started.
    void prepareShow(FilterWindowMode mode);
    // prepareShow, then the modal window; true when it was left through the action button.
    bool execInMode(FilterWindowMode mode);
    FilterWindowMode mode() const { return m_mode; }

    FilterCriteria criteria() const;
    // Puts criteria into the controls without starting an evaluation (as at program start).
    void setCriteria(const FilterCriteria &criteria);
    // The description of the criteria as the last evaluation left them.
    const QString &description() const { return m_description; }

    // Runs the evaluation now (what the timer does when it fires).
    void evaluate();
    QTimer &evaluationTimer() { return m_evaluationTimer; }
    bool isEvaluating() const { return m_evaluating; }

    FilterGridModel &grid() const { return *m_model; }
    QTableView *gridView() const { return m_grid; }
    FilterCriteriaPanel *criteriaPanel() const { return m_criteria; }
    // The ticked rows, top to bottom ("Execute" and the deletions read them after OK).
    QList<FilterRow> tickedRows() const;
    // After "Goto selected file": the file chosen.
    const ChosenFile &chosenFile() const { return m_chosen; }
    // After Step2: the queue list with the working folder's paths.
    const QStringList &searchStepRecords() const { return m_searchStep; }

    void loadFilterClicked();
    void saveFilterClicked();
    void resetClicked();
    // Evaluates at once when criteria were edited since the last evaluation; true when the
    // grid shows the evaluation of the criteria now shown.
    bool evaluationIsCurrent();
    void executeClicked();
    void gotoSelectedFileClicked();
    void step2Clicked();

    void done(int result) override;

Q_SIGNALS:
    // After every evaluation: the filter's description, for the main window's label.
    void filterDescribed(const QString &description);

protected:
    void retranslate() override;
    void showEvent(QShowEvent *event) override;

private:
    void criteriaEdited();
    QString modeTitle() const;
    void placeCloseButton(bool underCriteria);
    void showDescription(const QString &description);
    void loadGrid(const QStringList &filtered);
    void setProgress(const QString &text);
    QPushButton *actionButton() const;
    void reportFileError(const QString &message);

    FilterWindowMode m_mode = FilterWindowMode::EditOnly;
    QStringList m_queueList;
    std::function<QString()> m_localPath;
    FilterGridModel *m_model;
    FilterCriteriaPanel *m_criteria;
    QLabel *m_hint, *m_filterLabel, *m_progress, *m_info;
    QPushButton *m_load, *m_save, *m_reset, *m_selectAll, *m_unselectAll;
    QPushButton *m_execute, *m_goto, *m_searchIn, *m_searchAndReplace, *m_close;
    QTableView *m_grid;
    QWidget *m_results;
    QHBoxLayout *m_fileRow, *m_actionRow;
    QTimer m_evaluationTimer;
    QString m_description;
    ChosenFile m_chosen;
    QStringList m_searchStep;
    qsizetype m_summaryRows = -1; // -1: no evaluation since the window was shown
    qint64 m_summaryBytes = 0;
    bool m_evaluating = false;
    bool m_editedWhileEvaluating = false;
    bool m_closing = false;
};

} // namespace Velmora
