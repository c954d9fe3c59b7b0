#include "EditorFindForm.h"

#include "app/UserPrompts.h"

#include <Qsci/qsciscintilla.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Velmora {

EditorFindForm::EditorFindForm(QsciScintilla &text, UserPrompts &prompts, bool german, bool replaceMode, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_text(text)
    , m_prompts(prompts)
    , m_german(german)
    , m_replaceMode(replaceMode)
{
    setObjectName(replaceMode ? QStringLiteral("EditorReplaceForm") : QStringLiteral("EditorFindForm"));
    setWindowTitle(replaceMode ? this->text(u"Search and replace", u"Suchen und Ersetzen") : this->text(u"Search", u"Suchen"));

    auto *layout = new QVBoxLayout(this);
    auto *fields = new QFormLayout;
    m_searchEdit = new QLineEdit(this);
    m_searchEdit->setObjectName(QStringLiteral("SearchEdit"));
    fields->addRow(this->text(u"Search for:", u"Suchen nach:"), m_searchEdit);
    if (replaceMode) {
        m_replaceEdit = new QLineEdit(this);
        m_replaceEdit->setObjectName(QStringLiteral("ReplaceEdit"));
        fields->addRow(this->text(u"Replace with:", u"Ersetzen durch:"), m_replaceEdit);
    }
    layout->addLayout(fields);
    m_caseCheckBox = new QCheckBox(this->text(u"Match case", u"Groß-/Kleinschreibung beachten"), this);
    m_wordsCheckBox = new QCheckBox(this->text(u"Whole words only", u"Nur ganze Wörter"), this);
    layout->addWidget(m_caseCheckBox);
    layout->addWidget(m_wordsCheckBox);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *findButton = buttons->addButton(this->text(u"Find next", u"Weitersuchen"), QDialogButtonBox::ActionRole);
    findButton->setDefault(true);
    connect(findButton, &QPushButton::clicked, this, [this] { findNext(); });
    if (replaceMode) {
        QPushButton *replaceButton = buttons->addButton(this->text(u"Replace", u"Ersetzen"), QDialogButtonBox::ActionRole);
        connect(replaceButton, &QPushButton::clicked, this, [this] { replaceNext(); });
        QPushButton *allButton = buttons->addButton(this->text(u"Replace all", u"Alle ersetzen"), QDialogButtonBox::ActionRole);
        connect(allButton, &QPushButton::clicked, this, [this] { replaceAll(); });
    }
    QPushButton *closeButton = buttons->addButton(this->text(u"Close", u"Schließen"), QDialogButtonBox::RejectRole);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QString EditorFindForm::text(const char16_t *english, const char16_t *german) const
{
    return QString::fromUtf16(m_german ? german : english);
}

void EditorFindForm::notFound()
{
    m_prompts.information(m_replaceMode ? text(u"Text Not Found!", u"Text nicht gefunden!")
                                        : text(u"Text Not Found", u"Text nicht gefunden"));
}

bool EditorFindForm::find(bool report)
{
    const QString term = m_searchEdit->text();
    // Forward from the end of the selection, so a repeated search moves on to the next match.
    const bool found = !term.isEmpty()
        && m_text.findFirst(term, false, m_caseCheckBox->isChecked(), m_wordsCheckBox->isChecked(), false, true);
    if (!found && report)
        notFound();
    return found;
}

bool EditorFindForm::findNext()
{
    return find(true);
}

bool EditorFindForm::selectionIsMatch() const
{
    if (!m_text.hasSelectedText())
        return false;
    const Qt::CaseSensitivity cs = m_caseCheckBox->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    return m_text.selectedText().compare(m_searchEdit->text(), cs) == 0;
}

bool EditorFindForm::replaceNext()
{
    if (selectionIsMatch())
        m_text.replaceSelectedText(m_replaceEdit ? m_replaceEdit->text() : QString());
    return find(true);
}

int EditorFindForm::replaceAll()
{
    const QString term = m_searchEdit->text();
    const QString replacement = m_replaceEdit ? m_replaceEdit->text() : QString();
    int count = 0;
    if (!term.isEmpty()) {
        m_text.beginUndoAction();
        bool found = m_text.findFirst(term, false, m_caseCheckBox->isChecked(), m_wordsCheckBox->isChecked(), false,
                                      true, 0, 0);
        while (found) {
            m_text.replace(replacement);
            ++count;
            found = m_text.findNext();
        }
        m_text.endUndoAction();
    }
    if (count == 0)
        notFound();
    return count;
}

} // namespace Velmora
