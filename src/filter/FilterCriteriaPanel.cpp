#include "FilterCriteriaPanel.h"

#include "FilterDatePicker.h"
#include "FilterItemTexts.h"
#include "FilterPreparation.h"
#include "app/Named.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>

namespace Velmora {

namespace {

// A group of controls with its coloured background, which fills the group and lies behind the
// controls; the background is shown only while the group's criterion is active.
class GroupFrame : public QWidget {
public:
    explicit GroupFrame(QWidget *parent)
        : QWidget(parent)
    {
    }
    QWidget *gradient = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        if (gradient)
            gradient->setGeometry(rect());
        QWidget::resizeEvent(event);
    }
};

QWidget *gradientBackground(QWidget *parent)
{
    auto *background = new QWidget(parent);
    QLinearGradient fill(0, 0, 1, 0);
    fill.setCoordinateMode(QGradient::ObjectMode);
    fill.setColorAt(0, QColor(255, 236, 160));
    fill.setColorAt(1, QColor(255, 250, 225));
    QPalette palette = background->palette();
    palette.setBrush(QPalette::Window, QBrush(fill));
    background->setPalette(palette);
    background->setAutoFillBackground(true);
    background->lower();
    background->hide();
    return background;
}

void fill(QComboBox *box, const QStringList &items)
{
    const int index = box->currentIndex();
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(index < items.size() ? index : -1);
}

// Leaves an edit alone when its text is the same, so the cursor of the user typing there stays.
void put(QLineEdit *edit, const QString &text)
{
    if (edit->text() != text)
        edit->setText(text);
}

void choose(QComboBox *box, int index)
{
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

} // namespace

FilterCriteriaPanel::FilterCriteriaPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("FilterCriteriaPanel"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);

    // Row 0: the term group, "and", the without-term group.
    QWidget *term = group("TermJvGradient", "TermOnLabel", m_termOn, m_termGradient);
    m_allWith = named(new QLabel(term), "Label1");
    m_termEdit = named(new QLineEdit(term), "TermEdit");
    m_termDir = combo("TermDirComboBox");
    term->layout()->addWidget(m_allWith);
    term->layout()->addWidget(m_termEdit);
    term->layout()->addWidget(m_termDir);
    m_and = named(new QLabel(this), "Label5");
    m_and->setAlignment(Qt::AlignCenter);
    QWidget *without = group("WithoutTermJvGradient", "WithoutTermOnLabel", m_withoutOn, m_withoutGradient);
    m_allWithout = named(new QLabel(without), "Label4");
    m_withoutEdit = named(new QLineEdit(without), "WithoutTermEdit");
    m_withoutDir = combo("WithoutTermDirComboBox");
    without->layout()->addWidget(m_allWithout);
    without->layout()->addWidget(m_withoutEdit);
    without->layout()->addWidget(m_withoutDir);
    grid->addWidget(term, 0, 1);
    grid->addWidget(m_and, 0, 2);
    grid->addWidget(without, 0, 4);

    // Row 1: date and extension, each after its "and"/"or" box.
    m_andDate = combo("AndDateComboBox");
    QWidget *date = group("DateJvGradient", "DateOnLabel", m_dateOn, m_dateGradient);
    m_dateIE = combo("DateIEComboBox");
    m_date = new FilterDatePicker(date);
    m_today = named(new QPushButton(date), "TodayBitBtn");
    date->layout()->addWidget(m_dateIE);
    date->layout()->addWidget(m_date);
    date->layout()->addWidget(m_today);
    m_andExtension = combo("AndExtensionComboBox");
    QWidget *extension = group("ExtJvGradient", "ExtensionOnLabel", m_extensionOn, m_extensionGradient);
    m_extensionIE = combo("ExtensionIEComboBox");
    m_extensionEdit = named(new QLineEdit(extension), "ExtensionEdit");
    m_ascii = named(new QPushButton(extension), "AsciiFilesBitBtn");
    extension->layout()->addWidget(m_extensionIE);
    extension->layout()->addWidget(m_extensionEdit);
    extension->layout()->addWidget(m_ascii);
    grid->addWidget(m_andDate, 1, 0);
    grid->addWidget(date, 1, 1);
    grid->addWidget(m_andExtension, 1, 3);
    grid->addWidget(extension, 1, 4);

    // Row 2: size.
    m_andFileSize = combo("AndFileSizeComboBox");
    QWidget *size = group("FileSizeJvGradient", "FileSizeOnLabel", m_fileSizeOn, m_fileSizeGradient);
    m_fileSizeIE = combo("FileSizeIEComboBox");
    m_fileSizeEdit = named(new QLineEdit(size), "FileSizeEdit");
    size->layout()->addWidget(m_fileSizeIE);
    size->layout()->addWidget(m_fileSizeEdit);
    grid->addWidget(m_andFileSize, 2, 0);
    grid->addWidget(size, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);

    for (QComboBox *box : {m_termDir, m_withoutDir, m_andDate, m_dateIE, m_andExtension, m_extensionIE, m_andFileSize,
                           m_fileSizeIE})
        connect(box, &QComboBox::currentIndexChanged, this, &FilterCriteriaPanel::edited);
    for (QLineEdit *edit : {m_termEdit, m_withoutEdit, m_extensionEdit, m_fileSizeEdit}) {
        edit->setMinimumWidth(130);
        connect(edit, &QLineEdit::textChanged, this, &FilterCriteriaPanel::edited);
    }
    connect(m_date, &FilterDatePicker::textChanged, this, &FilterCriteriaPanel::edited);
    connect(m_today, &QPushButton::clicked, this, &FilterCriteriaPanel::todayClicked);
    connect(m_ascii, &QPushButton::clicked, this, &FilterCriteriaPanel::asciiFilesClicked);
    for (QPushButton *button : {m_today, m_ascii})
        button->setAutoDefault(false);
    retranslate(Language::English, false);
    setCriteria(FilterCriteria::empty());
}

QWidget *FilterCriteriaPanel::group(const char *gradientName, const char *onLabelName, QLabel *&onLabel, QWidget *&gradient)
{
    auto *frame = new GroupFrame(this);
    gradient = named(gradientBackground(frame), gradientName);
    frame->gradient = gradient;
    auto *layout = new QHBoxLayout(frame);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(6);
    onLabel = named(new QLabel(frame), onLabelName);
    QFont bold = onLabel->font();
    bold.setBold(true);
    onLabel->setFont(bold);
    onLabel->setStyleSheet(QStringLiteral("color: rgb(0, 128, 0);"));
    QSizePolicy keepPlace = onLabel->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    onLabel->setSizePolicy(keepPlace);
    onLabel->hide();
    layout->addWidget(onLabel);
    return frame;
}

QComboBox *FilterCriteriaPanel::combo(const char *name)
{
    auto *box = named(new QComboBox(this), name);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return box;
}

FilterCriteria FilterCriteriaPanel::criteria() const
{
    FilterCriteria c;
    c.term = m_termEdit->text();
    c.termDir = m_termDir->currentIndex();
    c.withoutTerm = m_withoutEdit->text();
    c.withoutTermDir = m_withoutDir->currentIndex();
    c.andDate = m_andDate->currentIndex();
    c.dateIE = m_dateIE->currentIndex();
    c.date = m_date->text();
    c.andExtension = m_andExtension->currentIndex();
    c.extensionIE = m_extensionIE->currentIndex();
    c.extension = m_extensionEdit->text();
    c.andFileSize = m_andFileSize->currentIndex();
    c.fileSizeIE = m_fileSizeIE->currentIndex();
    c.fileSize = m_fileSizeEdit->text();
    return c;
}

void FilterCriteriaPanel::setCriteria(const FilterCriteria &c)
{
    put(m_termEdit, c.term);
    choose(m_termDir, c.termDir);
    put(m_withoutEdit, c.withoutTerm);
    choose(m_withoutDir, c.withoutTermDir);
    choose(m_andDate, c.andDate);
    choose(m_dateIE, c.dateIE);
    if (m_date->text() != c.date)
        m_date->setText(c.date);
    choose(m_andExtension, c.andExtension);
    choose(m_extensionIE, c.extensionIE);
    put(m_extensionEdit, c.extension);
    choose(m_andFileSize, c.andFileSize);
    choose(m_fileSizeIE, c.fileSizeIE);
    put(m_fileSizeEdit, c.fileSize);
    updateButtonCaptions();
}

void FilterCriteriaPanel::showActive(const PreparedFilter &p)
{
    const std::pair<QLabel *, QWidget *> groups[] = {{m_termOn, m_termGradient},
                                                     {m_withoutOn, m_withoutGradient},
                                                     {m_dateOn, m_dateGradient},
                                                     {m_extensionOn, m_extensionGradient},
                                                     {m_fileSizeOn, m_fileSizeGradient}};
    const bool active[] = {p.termActive, p.withoutActive, p.dateActive, p.extensionActive, p.sizeActive};
    for (int i = 0; i < 5; ++i) {
        groups[i].first->setVisible(active[i]);
        groups[i].second->setVisible(active[i]);
    }
}

void FilterCriteriaPanel::edited()
{
    updateButtonCaptions();
    if (!m_quiet)
        Q_EMIT criteriaEdited();
}

void FilterCriteriaPanel::todayClicked()
{
    if (m_date->text().isEmpty())
        m_date->pick(QDate::currentDate());
    else
        m_date->setText(QString());
}

void FilterCriteriaPanel::asciiFilesClicked()
{
    if (m_extensionEdit->text() == NonTextExtensions) {
        m_extensionEdit->clear();
        m_extensionIE->setCurrentIndex(FilterCriteria::AllWithExtension);
    } else {
        m_extensionEdit->setText(NonTextExtensions);
        m_extensionIE->setCurrentIndex(FilterCriteria::AllWithoutExtension);
    }
}

void FilterCriteriaPanel::updateButtonCaptions()
{
    const bool german = m_language == Language::German;
    const QString clear = german ? QStringLiteral("Leeren") : QStringLiteral("Clear");
    m_today->setText(!m_date->text().isEmpty() ? clear : german ? QStringLiteral("Heute") : QStringLiteral("Today"));
    m_ascii->setText(m_extensionEdit->text() == NonTextExtensions ? clear
                     : german                                     ? QStringLiteral("Ascii Dateien")
                                                                  : QStringLiteral("Ascii files"));
}

void FilterCriteriaPanel::retranslate(Language::Id language, bool germanDates)
{
    m_language = language;
    m_date->setGermanDates(germanDates);
    const bool german = language == Language::German;
    m_allWith->setText(german ? QStringLiteral("Alle mit") : QStringLiteral("All with"));
    m_and->setText(german ? QStringLiteral("und") : QStringLiteral("and"));
    m_allWithout->setText(german ? QStringLiteral("Alle ohne") : QStringLiteral("All without"));
    for (QLabel *on : {m_termOn, m_withoutOn, m_dateOn, m_extensionOn, m_fileSizeOn})
        on->setText(german ? QStringLiteral("AKTIV") : QStringLiteral("ACTIVE"));
    fill(m_termDir, FilterItemTexts::places(language));
    fill(m_withoutDir, FilterItemTexts::places(language));
    for (QComboBox *box : {m_andDate, m_andExtension, m_andFileSize})
        fill(box, FilterItemTexts::joiners(language));
    fill(m_dateIE, FilterItemTexts::dateTests(language));
    fill(m_extensionIE, FilterItemTexts::extensionTests(language));
    fill(m_fileSizeIE, FilterItemTexts::sizeTests(language));
    updateButtonCaptions();
}

} // namespace Velmora
