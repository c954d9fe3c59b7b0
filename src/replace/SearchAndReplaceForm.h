#pragma once

#include "SearchReplaceEngine.h"
#include "SearchSession.h"

#include "app/ToolDialog.h"
#include "queue/EventPump.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QWidget;

namespace Velmora {

class BackupStore;
class SearchBackups;
struct BackupOperation;
class SearchParameterArea;
class SearchResultModel;
class SearchWindowHost;

// "Search in files" and "Search and replace in files": lists the working copies of the files
// the filter window chose, searches them on every change of the search text, and in replace
// mode changes them after a numbered backup: server files go back through a queue run of the
// records it prepares, after the window closes, local files are overwritten at once. Created once; attach()
// hands it the main window's side before the first opening.
class SearchAndReplaceForm : public ToolDialog, private SearchReplaceObserver {
    Q_OBJECT
public:
    SearchAndReplaceForm(const AppContext &context, QWidget *parent);
    ~SearchAndReplaceForm() override;

    // The main window and editor port, the engine's queue list and the run's backups.
    void attach(SearchWindowHost &host, BackupStore &backups);

    // Resets the window for a search (replaceMode false) or a search and replace, reads
    // "SEARCH_QUEUE.TXT" and runs the first search. open() then shows it modally.
    void prepare(bool replaceMode);
    int open(bool replaceMode);

    const SearchSession &session() const { return *m_session; }
    SearchSession &session() { return *m_session; }
    bool isReplaceMode() const { return m_replaceMode; }

    // The controls, named as the window's components are.
    QLabel *topLabel() const { return m_topLabel; }
    SearchParameterArea *parameters() const { return m_params; }
    QComboBox *modeComboBox() const;
    QLineEdit *searchEdit() const;
    QLineEdit *replaceEdit() const;
    QCheckBox *replaceLineCheckBox() const;
    QLineEdit *sourceFileEdit() const;
    QPushButton *sourceButton() const;
    QPlainTextEdit *termLinesMemo() const;
    QPlainTextEdit *edgeLinesMemo() const;
    QLabel *changedLabel() const { return m_changedLabel; }
    QLabel *progressLabel() const { return m_progressLabel; }
    QTableView *grid() const { return m_grid; }
    SearchResultModel *model() const { return m_model; }
    QMenu *gridMenu() const { return m_gridMenu; }
    QPushButton *button(const char *objectName) const;

    // The window's operations, as its buttons start them.
    void searchOnly();
    void applyOnServerFiles();
    void applyOnLocalFiles();
    void applyOnFiles(bool onServer);
    void viewEditChosenFile();
    void transferFilesWithHits();
    void goToChosenFile();
    void uploadBack();
    // After the upload back: these working copies did not go up and the server kept its files
    // as they were, so the backups of this opening no longer hold them.
    void forgetUntouched(const QStringList &workingCopies);

public Q_SLOTS:
    // "Close" and Escape: always allowed, without OK.
    void reject() override;

protected:
    void retranslate() override;
    void closeEvent(QCloseEvent *event) override;

private:
    void progressChanged(const QString &text) override;
    void fileFinished() override;

    void runSearch(bool reportFailure);
    void buildButtons();
    void setUpColumns();
    // The write run; an empty text when it went through, else the message of the file it
    // stopped at.
    QString runApply();
    bool chooseSourceIfMissing();
    void clearInputs();
    void setChangedCount(int count);
    // unfit: the files left unchanged because their encoding cannot hold the texts.
    void reportComplete(const QString &errorText, bool pressUpload, int unfit = 0);
    QString changedText() const;
    int chosenRow() const;

    SearchWindowHost *m_host = nullptr;
    std::unique_ptr<SearchBackups> m_backups;
    std::unique_ptr<SearchSession> m_session;
    SearchReplaceEngine m_engine;
    EventPump m_pump;
    bool m_replaceMode = false;
    bool m_quiet = false;   // inputs are being reset: no search per change
    int m_applying = 0;     // a writing run is going on

    QLabel *m_topLabel;
    SearchParameterArea *m_params;
    QLabel *m_changedLabel;
    QLabel *m_progressLabel;
    QTableView *m_grid;
    SearchResultModel *m_model;
    QMenu *m_gridMenu;
    QPushButton *m_selectAll, *m_unselectAll;
    QWidget *m_searchServerGroup, *m_searchLocalGroup, *m_replaceServerGroup, *m_replaceLocalGroup;
    QPushButton *m_downloadSearch, *m_uploadSearch, *m_goTo;
    QPushButton *m_applyServer, *m_viewServer, *m_uploadBack;
    QPushButton *m_applyLocal, *m_viewLocal;
    QPushButton *m_close;
};

} // namespace Velmora
