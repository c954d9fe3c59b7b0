#pragma once

#include "WalkProgress.h"

#include "app/ToolDialog.h"

#include <QTimer>

class QLabel;
class QListWidget;
class QPushButton;

namespace Velmora {

struct WorkControl;

// The directory-structure progress window of the tree walks: the lines the walk reports, the
// three counters, and "Abort" (also Escape), which asks the walk to stop. While it is shown a
// 500 ms timer keeps the newest line in view.
class GetFilesListForm : public ToolDialog, public WalkProgress {
    Q_OBJECT
public:
    GetFilesListForm(const AppContext &context, WorkControl &work, QWidget *parent);

    void addProgressLine(const QString &line, qint64 filesFound, qint64 totalSize, qint64 foldersFound) override;
    void collectionStarted(bool usedSpace) override;
    // Hides the window, or with keepOpen focuses "Close" (the used-space figures stay readable).
    void collectionEnded(bool keepOpen) override;
    // "Calculate used space" with a "Close" button instead of "Get directory structure".
    void setUsedSpaceMode(bool usedSpace);
    // Empties the list and the labels and shows the window (non-modal, in front).
    void openProgress();
    // The timer's handler: selects the last line.
    void selectLastLine();

    // "Determined files: " and the others; empty for a value that is empty or zero.
    static QString counterText(const QString &prefix, const QString &value);

    QListWidget *list() const { return m_list; }
    QLabel *filesLabel() const { return m_files; }
    QLabel *sizeLabel() const { return m_size; }
    QLabel *dirsLabel() const { return m_dirs; }
    QLabel *titleLabel() const { return m_title; }
    QPushButton *abortButton() const { return m_abort; }
    QPushButton *closeButton() const { return m_close; }
    QTimer &lineTimer() { return m_timer; }

protected:
    void retranslate() override;
    void reject() override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    WorkControl &m_work;
    void requestAbort();

    QLabel *m_title = nullptr;
    QListWidget *m_list = nullptr;
    QLabel *m_files = nullptr;
    QLabel *m_size = nullptr;
    QLabel *m_dirs = nullptr;
    QPushButton *m_abort = nullptr;
    QPushButton *m_close = nullptr;
    QTimer m_timer;
    bool m_usedSpace = false;
};

} // namespace Velmora
