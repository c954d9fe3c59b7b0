#include "SearchParameterArea.h"

#include "app/AppContext.h"
#include "app/UserPrompts.h"
#include "common/TextCodec.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace Velmora {

namespace {

QStringList textLines(const QPlainTextEdit *memo)
{
    return ReplaceJob::LinesOfBox(memo->toPlainText());
}


template <typename Widget>
Widget *named(QWidget *parent, const char *name)
{
    auto *widget = new Widget(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

SearchParameterArea::SearchParameterArea(const AppContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    m_modeCombo = named<QComboBox>(this, "ReplaceModeComboBox");
    for (int index = 0; index < ReplaceModeCount; ++index)
        m_modeCombo->addItem(QString());
    m_searchLabel = named<QLabel>(this, "SearchForLabel");
    m_searchEdit = named<QLineEdit>(this, "SearchEdit");
    m_replaceLabel = named<QLabel>(this, "ReplaceWithLabel");
    m_replaceEdit = named<QLineEdit>(this, "ReplaceEdit");
    m_replaceLine = named<QCheckBox>(this, "ReplaceLineCheckBox");
    m_sourceButton = named<QPushButton>(this, "SourceBitBtn");
    m_sourceButton->setAutoDefault(false);
    m_sourceEdit = named<QLineEdit>(this, "SourceFileEdit");
    m_termLinesLabel = named<QLabel>(this, "InserMemoLabel2");
    m_termLines = named<QPlainTextEdit>(this, "InsertLinesBeforeAfterMemo");
    m_edgeLinesLabel = named<QLabel>(this, "InserMemoLabel");
    m_edgeLines = named<QPlainTextEdit>(this, "InsertMemo");
    for (QPlainTextEdit *memo : {m_termLines, m_edgeLines})
        memo->setFixedHeight(70);

    auto *area = new QGridLayout(this);
    area->setContentsMargins(0, 0, 0, 0);
    area->addWidget(m_modeCombo, 0, 0, 1, 2);
    area->addWidget(m_edgeLinesLabel, 1, 0);
    area->addWidget(m_edgeLines, 1, 1);
    area->addWidget(m_searchLabel, 2, 0);
    area->addWidget(m_searchEdit, 2, 1);
    area->addWidget(m_replaceLabel, 3, 0);
    area->addWidget(m_replaceEdit, 3, 1);
    area->addWidget(m_replaceLine, 4, 1);
    area->addWidget(m_sourceButton, 5, 0);
    area->addWidget(m_sourceEdit, 5, 1);
    area->addWidget(m_termLinesLabel, 6, 0);
    area->addWidget(m_termLines, 6, 1);

    connect(m_searchEdit, &QLineEdit::textChanged, this, &SearchParameterArea::searchChanged);
    connect(m_modeCombo, &QComboBox::currentIndexChanged, this, [this] {
        showOperationControls();
        Q_EMIT searchChanged();
    });
    connect(m_sourceButton, &QPushButton::clicked, this, &SearchParameterArea::chooseSourceFile);
    retranslate();
}

QString SearchParameterArea::text(const QString &english, const QString &german) const
{
    return m_context.text(english, german);
}

void SearchParameterArea::retranslate()
{
    const bool german = m_context.language.isGerman();
    for (int index = 0; index < ReplaceModeCount; ++index)
        m_modeCombo->setItemText(index, ReplaceModeCaption(ReplaceMode(index), german));
    m_searchLabel->setText(text(QStringLiteral("Search for:"), QStringLiteral("Suchen nach:")));
    m_replaceLabel->setText(text(QStringLiteral("Replace with:"), QStringLiteral("Ersetzen durch:")));
    m_replaceLine->setText(text(QStringLiteral("Replace line which includes the term completly"),
                                QStringLiteral("Zeile, welche den Suchbegriff enthält, komplett ersetzen")));
    m_sourceButton->setText(text(QStringLiteral("Choose source file"), QStringLiteral("Quelldatei auswählen")));
    m_termLinesLabel->setText(text(QStringLiteral("Lines to insert"), QStringLiteral("Einzufügende Zeilen")));
    m_edgeLinesLabel->setText(m_termLinesLabel->text());
}

bool SearchParameterArea::chooseSourceFile()
{
    const QString path = m_context.prompts.openFile(
        text(QStringLiteral("Choose source file"), QStringLiteral("Quelldatei auswählen")), QString(), QString());
    if (path.isEmpty())
        return false;
    m_sourceEdit->setText(path);
    return true;
}

void SearchParameterArea::setReplaceMode(bool replaceMode)
{
    m_replaceMode = replaceMode;
    showOperationControls();
}

ReplaceMode SearchParameterArea::operation() const
{
    return m_replaceMode ? ReplaceMode(qMax(0, m_modeCombo->currentIndex())) : ReplaceMode::ReplaceTerm;
}

void SearchParameterArea::showOperationControls()
{
    const ReplaceMode mode = operation();
    const bool usesTerm = mode == ReplaceMode::ReplaceTerm || mode == ReplaceMode::InsertAfterTerm
        || mode == ReplaceMode::InsertBeforeTerm;
    const bool replaceTerm = m_replaceMode && mode == ReplaceMode::ReplaceTerm;
    const bool termLines = m_replaceMode && (mode == ReplaceMode::InsertAfterTerm || mode == ReplaceMode::InsertBeforeTerm);
    const bool edgeLines = m_replaceMode && (mode == ReplaceMode::InsertAtBeginning || mode == ReplaceMode::InsertAtEnd);
    const bool source = m_replaceMode && mode == ReplaceMode::ReplaceFile;
    m_modeCombo->setVisible(m_replaceMode);
    m_searchLabel->setVisible(usesTerm);
    m_searchEdit->setVisible(usesTerm);
    m_replaceLabel->setVisible(replaceTerm);
    m_replaceEdit->setVisible(replaceTerm);
    m_replaceLine->setVisible(replaceTerm);
    m_sourceButton->setVisible(source);
    m_sourceEdit->setVisible(source);
    m_termLinesLabel->setVisible(termLines);
    m_termLines->setVisible(termLines);
    m_edgeLinesLabel->setVisible(edgeLines);
    m_edgeLines->setVisible(edgeLines);
}

ReplaceJob SearchParameterArea::job() const
{
    ReplaceJob job;
    job.mode = operation();
    job.term = m_searchEdit->text();
    if (!m_replaceMode)
        return job;
    job.replacement = m_replaceEdit->text();
    job.replaceWholeLine = m_replaceLine->isChecked();
    job.termLines = textLines(m_termLines);
    job.edgeLines = textLines(m_edgeLines);
    job.sourceFile = m_sourceEdit->text();
    return job;
}

BackupOperation SearchParameterArea::backupOperation() const
{
    return BackupOperation::forReplace(operation(), m_context.language, m_searchEdit->text(), m_replaceEdit->text(),
                                       m_sourceEdit->text(), textLines(m_termLines), textLines(m_edgeLines));
}

void SearchParameterArea::clear()
{
    m_searchEdit->clear();
    m_replaceEdit->clear();
    m_termLines->clear();
    m_edgeLines->clear();
    m_sourceEdit->clear();
}

} // namespace Velmora
