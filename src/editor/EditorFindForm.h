#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QsciScintilla;

namespace Velmora {

class UserPrompts;

// The editor's find dialog, or with replaceMode its find-and-replace dialog, working on the
// editor's text. Stays open beside the text while the user goes through the matches. When
// nothing (more) is found it says "Text Not Found" (find) or "Text Not Found!" (replace).
class EditorFindForm : public QDialog {
    Q_OBJECT
public:
    EditorFindForm(QsciScintilla &text, UserPrompts &prompts, bool german, bool replaceMode, QWidget *parent);

    QLineEdit *searchEdit() const { return m_searchEdit; }
    QLineEdit *replaceEdit() const { return m_replaceEdit; }
    QCheckBox *caseCheckBox() const { return m_caseCheckBox; }
    QCheckBox *wordsCheckBox() const { return m_wordsCheckBox; }

    // Selects the next match after the caret (or the selection); false when there is none.
    bool findNext();
    // Replaces the selected match, then selects the next one.
    bool replaceNext();
    // Replaces every match in the text, as one undo step; returns how many.
    int replaceAll();

private:
    QString text(const char16_t *english, const char16_t *german) const;
    bool find(bool report);
    bool selectionIsMatch() const;
    void notFound();

    QsciScintilla &m_text;
    UserPrompts &m_prompts;
    bool m_german;
    bool m_replaceMode;
    QLineEdit *m_searchEdit;
    QLineEdit *m_replaceEdit = nullptr;
    QCheckBox *m_caseCheckBox;
    QCheckBox *m_wordsCheckBox;
};

} // namespace Velmora
