#include "MultiRenameToolForm.h"

#include "app/ColumnWidth.h"
#include "app/Named.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <limits>

namespace Velmora {

MultiRenameToolForm::MultiRenameToolForm(const AppContext &context, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("Multi rename tool"), QString::fromUtf8("Mehrfach-Umbenennungs-Tool"))
    , m_preview(new RenamePreviewModel(context.language, this))
    , m_clock([] { return QDateTime::currentDateTime(); })
{
    setObjectName(QStringLiteral("MultiRenameToolForm"));
    setModal(true);
    QVBoxLayout *content = contentLayout();

    auto *top = new QGridLayout;
    m_nameGroup = named(new QGroupBox(this), "FilenameGroupBox");
    auto *nameLayout = new QVBoxLayout(m_nameGroup);
    m_name = named(new QLineEdit(QStringLiteral("[N]"), m_nameGroup), "Edit1");
    nameLayout->addWidget(m_name);
    auto *nameButtons = new QHBoxLayout;
    m_nameButton = placeholderButton(m_nameGroup, "NameButton", m_name, QStringLiteral("[N]"));
    m_counterButton = placeholderButton(m_nameGroup, "CounterButton", m_name, QStringLiteral("[C]"));
    m_dateButton = placeholderButton(m_nameGroup, "DateButton", m_name, QStringLiteral("[DATE]"));
    m_timeButton = placeholderButton(m_nameGroup, "TimeButton", m_name, QStringLiteral("[TIME]"));
    for (QPushButton *button : {m_nameButton, m_counterButton, m_dateButton, m_timeButton})
        nameButtons->addWidget(button);
    nameButtons->addStretch();
    nameLayout->addLayout(nameButtons);
    top->addWidget(m_nameGroup, 0, 0);

    m_extensionGroup = named(new QGroupBox(this), "ExtensionGroupBox");
    auto *extensionLayout = new QVBoxLayout(m_extensionGroup);
    m_extension = named(new QLineEdit(QStringLiteral("[E]"), m_extensionGroup), "Edit2");
    extensionLayout->addWidget(m_extension);
    auto *extensionButtons = new QHBoxLayout;
    m_extensionButton = placeholderButton(m_extensionGroup, "ExtensionButton", m_extension, QStringLiteral("[E]"));
    m_extensionCounterButton = placeholderButton(m_extensionGroup, "ExtensionCounterButton", m_extension, QStringLiteral("[C]"));
    extensionButtons->addWidget(m_extensionButton);
    extensionButtons->addWidget(m_extensionCounterButton);
    extensionButtons->addStretch();
    extensionLayout->addLayout(extensionButtons);
    top->addWidget(m_extensionGroup, 0, 1);

    m_searchGroup = named(new QGroupBox(this), "SearchReplaceGroupBox");
    auto *searchLayout = new QGridLayout(m_searchGroup);
    m_searchLabel = new QLabel(m_searchGroup);
    m_search = named(new QLineEdit(m_searchGroup), "Edit3");
    m_replacementLabel = new QLabel(m_searchGroup);
    m_replacement = named(new QLineEdit(m_searchGroup), "Edit4");
    m_searchLabel->setBuddy(m_search);
    m_replacementLabel->setBuddy(m_replacement);
    searchLayout->addWidget(m_searchLabel, 0, 0);
    searchLayout->addWidget(m_search, 0, 1);
    searchLayout->addWidget(m_replacementLabel, 1, 0);
    searchLayout->addWidget(m_replacement, 1, 1);
    top->addWidget(m_searchGroup, 1, 0);

    m_counterGroup = named(new QGroupBox(this), "CounterGroupBox");
    auto *counterLayout = new QGridLayout(m_counterGroup);
    m_startLabel = new QLabel(m_counterGroup);
    m_start = named(new QSpinBox(m_counterGroup), "SpinEdit1");
    m_stepLabel = new QLabel(m_counterGroup);
    m_step = named(new QSpinBox(m_counterGroup), "SpinEdit2");
    for (QSpinBox *spin : {m_start, m_step}) {
        spin->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        spin->setValue(1);
    }
    m_digitsLabel = new QLabel(m_counterGroup);
    m_digits = named(new QComboBox(m_counterGroup), "ComboBox1");
    for (int digits = 1; digits <= 10; ++digits)
        m_digits->addItem(QString::number(digits));
    m_startLabel->setBuddy(m_start);
    m_stepLabel->setBuddy(m_step);
    m_digitsLabel->setBuddy(m_digits);
    counterLayout->addWidget(m_startLabel, 0, 0);
    counterLayout->addWidget(m_start, 0, 1);
    counterLayout->addWidget(m_stepLabel, 0, 2);
    counterLayout->addWidget(m_step, 0, 3);
    counterLayout->addWidget(m_digitsLabel, 1, 0);
    counterLayout->addWidget(m_digits, 1, 1);
    top->addWidget(m_counterGroup, 1, 1);
    content->addLayout(top);

    m_grid = named(new QTableView(this), "NextGrid1");
    m_grid->setModel(m_preview);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setMinimumHeight(220);
    content->addWidget(m_grid, 1);

    const OkAbortButtons buttons = addOkAbortButtons();
    m_ok = named(buttons.ok, "BitBtn1");
    m_abort = named(buttons.abort, "BitBtn2");

    for (QLineEdit *edit : {m_name, m_extension, m_search, m_replacement})
        connect(edit, &QLineEdit::textChanged, this, &MultiRenameToolForm::updatePreview);
    for (QSpinBox *spin : {m_start, m_step})
        connect(spin, &QSpinBox::valueChanged, this, &MultiRenameToolForm::updatePreview);
    connect(m_digits, &QComboBox::currentIndexChanged, this, &MultiRenameToolForm::updatePreview);
    retranslate();
}

QPushButton *MultiRenameToolForm::placeholderButton(QWidget *parent, const char *name, QLineEdit *edit,
                                                    const QString &placeholder)
{
    QPushButton *button = named(new QPushButton(parent), name);
    button->setAutoDefault(false); // Enter stays with "Start Renaming"
    connect(button, &QPushButton::clicked, edit, [edit, placeholder] { edit->setText(edit->text() + placeholder); });
    return button;
}

void MultiRenameToolForm::retranslate()
{
    m_nameGroup->setTitle(text(QStringLiteral("Filename"), QStringLiteral("Datei Name")));
    m_extensionGroup->setTitle(text(QStringLiteral("File extension"), QStringLiteral("Datei Erweiterung")));
    m_searchGroup->setTitle(text(QStringLiteral("Search and replace"), QStringLiteral("Suchen und ersetzen")));
    m_counterGroup->setTitle(text(QStringLiteral("Counter"), QString::fromUtf8("Zähler")));
    m_nameButton->setText(QStringLiteral("Name"));
    m_counterButton->setText(text(QStringLiteral("Counter"), QString::fromUtf8("Zähler")));
    m_dateButton->setText(text(QStringLiteral("Date"), QStringLiteral("Datum")));
    m_timeButton->setText(text(QStringLiteral("Time"), QStringLiteral("Zeit")));
    m_extensionButton->setText(text(QStringLiteral("Extension"), QStringLiteral("Erweiterung")));
    m_extensionCounterButton->setText(text(QStringLiteral("Counter"), QString::fromUtf8("Zähler")));
    m_searchLabel->setText(text(QStringLiteral("Search for:"), QStringLiteral("Suchen nach:")));
    m_replacementLabel->setText(text(QStringLiteral("Replace with:"), QStringLiteral("Ersetzen mit:")));
    m_startLabel->setText(text(QStringLiteral("Start at:"), QStringLiteral("Starten bei:")));
    m_stepLabel->setText(text(QStringLiteral("Step by:"), QStringLiteral("Schrittweite:")));
    m_digitsLabel->setText(text(QStringLiteral("Digits:"), QStringLiteral("Stellenanzahl:")));
    m_ok->setText(text(QStringLiteral("Start Renaming"), QStringLiteral("Umbenennen starten")));
    m_abort->setText(text(QStringLiteral("Abort"), QStringLiteral("Abbrechen")));
    // Every caption of the preview's header fits its column.
    const QFontMetrics metrics = m_grid->horizontalHeader()->fontMetrics();
    const int widths[RenamePreviewModel::ColumnCount] = {200, 200, 80, 130, 150};
    int total = 0;
    for (int column = 0; column < RenamePreviewModel::ColumnCount; ++column) {
        const QString caption = RenamePreviewModel::headerText(column, context().language);
        const int width = std::max(ColumnWidth::scaled(widths[column], metrics), ColumnWidth::forText(caption, metrics));
        m_grid->setColumnWidth(column, width);
        total += width;
    }
    // Every column is in view without scrolling sideways.
    const int scrollBar = m_grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_grid);
    m_grid->setMinimumWidth(total + scrollBar + 2 * m_grid->frameWidth() + 2);
}

RenamePatternInputs MultiRenameToolForm::inputs() const
{
    RenamePatternInputs inputs;
    inputs.namePattern = m_name->text();
    inputs.extensionPattern = m_extension->text();
    inputs.search = m_search->text();
    inputs.replacement = m_replacement->text();
    inputs.start = m_start->value();
    inputs.step = m_step->value();
    inputs.digits = m_digits->currentIndex() + 1;
    return inputs;
}

void MultiRenameToolForm::setInputs(const RenamePatternInputs &inputs)
{
    m_name->setText(inputs.namePattern);
    m_extension->setText(inputs.extensionPattern);
    m_search->setText(inputs.search);
    m_replacement->setText(inputs.replacement);
    m_start->setValue(int(inputs.start));
    m_step->setValue(int(inputs.step));
    m_digits->setCurrentIndex(std::clamp(inputs.digits, 1, 10) - 1);
}

void MultiRenameToolForm::updatePreview()
{
    const QDateTime now = m_clock();
    m_preview->setNewNames(PreviewNames(m_preview->oldNames(), inputs(), RenameDateText(now), RenameTimeText(now)));
}

void MultiRenameToolForm::prepare(QList<RenamePreviewRow> rows)
{
    m_preview->setRows(std::move(rows));
    updatePreview();
    m_name->setFocus();
}

bool MultiRenameToolForm::ask(QList<RenamePreviewRow> rows)
{
    prepare(std::move(rows));
    return exec() == QDialog::Accepted;
}

} // namespace Velmora
