#pragma once

#include "BackupIndex.h"
#include "ReplaceJob.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace Velmora {

struct AppContext;

// The search window's parameter area: compact in search mode (only "Search for:"), full in
// replace mode with the operation list and the controls the chosen operation uses. Turns what
// the user typed into the engine's job and the backup's description.
class SearchParameterArea : public QWidget {
    Q_OBJECT
public:
    SearchParameterArea(const AppContext &context, QWidget *parent);

    void setReplaceMode(bool replaceMode);
    // The chosen operation; always "replace a term" in search mode.
    ReplaceMode operation() const;
    // The parameters as typed. A search-mode job carries only the term.
    ReplaceJob job() const;
    BackupOperation backupOperation() const;
    // Empties the search and replacement fields, both line lists and the source field.
    void clear();
    void retranslate();

    QComboBox *modeComboBox() const { return m_modeCombo; }
    QLineEdit *searchEdit() const { return m_searchEdit; }
    QLineEdit *replaceEdit() const { return m_replaceEdit; }
    QCheckBox *replaceLineCheckBox() const { return m_replaceLine; }
    QLineEdit *sourceFileEdit() const { return m_sourceEdit; }
    QPushButton *sourceButton() const { return m_sourceButton; }
    QPlainTextEdit *termLinesMemo() const { return m_termLines; }
    QPlainTextEdit *edgeLinesMemo() const { return m_edgeLines; }
    // "Choose source file": the file dialog; false when the user cancelled it.
    bool chooseSourceFile();

Q_SIGNALS:
    // The search text or the operation changed: a search-only run is due.
    void searchChanged();

private:
    void showOperationControls();
    QString text(const QString &english, const QString &german) const;

    const AppContext &m_context;
    bool m_replaceMode = false;
    QComboBox *m_modeCombo;
    QLabel *m_searchLabel;
    QLineEdit *m_searchEdit;
    QLabel *m_replaceLabel;
    QLineEdit *m_replaceEdit;
    QCheckBox *m_replaceLine;
    QPushButton *m_sourceButton;
    QLineEdit *m_sourceEdit;
    QLabel *m_termLinesLabel;
    QPlainTextEdit *m_termLines;
    QLabel *m_edgeLinesLabel;
    QPlainTextEdit *m_edgeLines;
};

} // namespace Velmora
