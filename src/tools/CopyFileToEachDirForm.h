#pragma once

#include "app/ToolDialog.h"

#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace Velmora {

// "Copy file(s) to each directory (and Subdirectories)": the destination folders the walk
// found, the source files the user picks, and "Copy", which is enabled once files are chosen.
// The destinations and the sources are filled anew on every use.
class CopyFileToEachDirForm : public ToolDialog {
    Q_OBJECT
public:
    CopyFileToEachDirForm(const AppContext &context, QWidget *parent);

    // Shows the destinations (each once), empties the source field and disables "Copy".
    void prepare(const QStringList &destinations);
    // prepare() and the modal dialog; true for "Copy" (or Enter, also before files are chosen).
    bool ask(const QStringList &destinations);

    QStringList destinations() const;
    // The chosen files, in the order chosen; empty until files are chosen.
    const QStringList &sources() const { return m_sources; }
    // "Select file(s)": the file dialog starts in the documents folder; a confirmed choice
    // replaces the earlier one.
    void BitBtn4Click();

    QListWidget *destinationList() const { return m_list; }
    QLineEdit *sourceEdit() const { return m_sourceEdit; }
    QPushButton *copyButton() const { return m_copy; }
    QPushButton *selectButton() const { return m_select; }

protected:
    void retranslate() override;
    // Enter closes with OK in every control, also while "Copy" is disabled.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLabel *m_listLabel = nullptr;
    QListWidget *m_list = nullptr;
    QPushButton *m_select = nullptr;
    QLineEdit *m_sourceEdit = nullptr;
    QPushButton *m_copy = nullptr;
    QPushButton *m_abort = nullptr;
    QStringList m_sources;
};

} // namespace Velmora
