#include "FilterWiring.h"

#include "MainForm.h"
#include "QueueWiring.h"

#include "app/AppContext.h"
#include "app/Named.h"
#include "app/OptionsForm.h"
#include "browser/BrowserController.h"
#include "common/Language.h"
#include "filter/FilterDescription.h"
#include "filter/FilterForm.h"
#include "MainFormProgressView.h"
#include "MainFormQueueHost.h"
#include "queue/QueueRunner.h"
#include "queue/QueueTableModel.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadialGradient>

namespace Velmora {

namespace {

// The switch's LED: a lit green one while the filter is on, a gray one while it is off.
QPixmap ledPicture(const QColor &colour)
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient light(QPointF(6, 6), 8);
    light.setColorAt(0, colour.lighter(170));
    light.setColorAt(1, colour);
    painter.setBrush(light);
    painter.setPen(QPen(colour.darker(160), 1));
    painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    return picture;
}

// A background behind the panel's controls.
QWidget *panelBackground(QWidget *panel, const char *name, bool filled)
{
    auto *background = named(new QWidget(panel), name);
    if (filled) {
        QLinearGradient fill(0, 0, 0, 1);
        fill.setCoordinateMode(QGradient::ObjectMode);
        fill.setColorAt(0, QColor(214, 245, 204));
        fill.setColorAt(1, QColor(120, 200, 110));
        QPalette palette = background->palette();
        palette.setBrush(QPalette::Window, QBrush(fill));
        background->setPalette(palette);
        background->setAutoFillBackground(true);
    }
    // The off-background lets the design's filter bar picture through.
    background->setGeometry(panel->rect());
    background->lower();
    return background;
}

} // namespace

FilterWiring::FilterWiring(AppContext &context, MainForm &main, FilterForm &form, OptionsForm &options,
                           QueueWiring &queue, BrowserController &browser)
    : QObject(&main)
    , m_context(context)
    , m_main(main)
    , m_form(form)
    , m_options(options)
    , m_transferFilter(form, queue.view(), [&main] { return main.filterState(); })
{
    MainWindowWidgets &w = main.widgets();
    m_onBackground = panelBackground(w.filterPanel, "JvFilterOnGradient", true);
    m_offBackground = panelBackground(w.filterPanel, "JvFilterOffGradient", false);
    w.filterPanel->installEventFilter(this);

    QueueTableModel *queueModel = &queue.model();
    form.setDateDisplay([queueModel](const QString &date) { return queueModel->displayDate(date); });
    MainFormQueueHost *host = &queue.host();
    form.setLocalPathSource([host] { return host->localPathText(); });

    connect(w.filterOnOffButton, &QPushButton::toggled, this, &FilterWiring::showSwitchState);
    connect(w.filterOnOffButton, &QPushButton::clicked, this, &FilterWiring::switchClicked);
    connect(w.transferFilterOnAction, &QAction::triggered, this, &FilterWiring::switchClicked);
    connect(w.editFilterButton, &QPushButton::clicked, this, &FilterWiring::editFilter);
    connect(w.editFilterAction, &QAction::triggered, this, &FilterWiring::editFilter);
    const std::pair<QPushButton *, GridCommand> searches[] = {{w.searchFilesButton, GridCommand::SearchFiles},
                                                              {w.searchInFilesButton, GridCommand::SearchInFiles},
                                                              {w.searchAndReplaceButton, GridCommand::SearchAndReplace}};
    for (auto [button, command] : searches) {
        connect(button, &QPushButton::clicked, this, [&browser, command = command] {
            browser.commands().run(command, browser.activeSide());
        });
    }

    connect(&form, &FilterForm::filterDescribed, this, &FilterWiring::showDescription);
    connect(&context.language, &Language::languageChanged, this, &FilterWiring::retranslate);
    showDescription(form.description());
    showSwitchState(main.filterState());
}

FilterWiring::~FilterWiring() = default;

void FilterWiring::switchTo(bool on)
{
    m_main.setFilterState(on);
    m_options.SaveOptions();
}

void FilterWiring::switchClicked(bool on)
{
    switchTo(on);
    m_main.SetIdleState();
}

void FilterWiring::showSwitchState(bool on)
{
    MainWindowWidgets &w = m_main.widgets();
    w.filterOnOffButton->setIcon(QIcon(ledPicture(on ? QColor(40, 190, 40) : QColor(150, 150, 150))));
    m_onBackground->setVisible(on);
    m_offBackground->setVisible(!on);
    retranslate();
}

void FilterWiring::editFilter()
{
    if (m_main.isBusy())
        return;
    m_form.execInMode(FilterWindowMode::EditOnly);
    m_main.SetIdleState();
}

void FilterWiring::showDescription(const QString &description)
{
    QLabel *label = m_main.widgets().filterLabel;
    const FilterLabelFont size = FilterLabelFontFor(description);
    QFont font = label->font();
    font.setPointSize(size.pointSize);
    font.setBold(size.bold);
    label->setFont(font);
    label->setText(description);
}

void FilterWiring::retranslate()
{
    MainWindowWidgets &w = m_main.widgets();
    const bool on = w.filterOnOffButton->isChecked();
    w.filterOnOffButton->setText(on ? m_context.text(QStringLiteral("Transfer filter on"), QStringLiteral("Transfer Filter an"))
                                    : m_context.text(QStringLiteral("Transfer filter off"), QStringLiteral("Transfer Filter aus")));
    w.editFilterButton->setText(m_context.text(QStringLiteral("Edit Filter [F2]"), QStringLiteral("Filter bearbeiten [F2]")));
    w.searchFilesButton->setText(m_context.text(QStringLiteral("Search files [F3]"), QStringLiteral("Dateien suchen [F3]")));
    w.searchInFilesButton->setText(m_context.text(QStringLiteral("Search in files [F9]"), QStringLiteral("In Dateien suchen [F9]")));
    w.searchAndReplaceButton->setText(m_context.text(QStringLiteral("Search and replace [F10]"), QStringLiteral("Suchen und ersetzen [F10]")));
}

bool FilterWiring::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched == m_main.widgets().filterPanel) {
        const QRect area = m_main.widgets().filterPanel->rect();
        m_onBackground->setGeometry(area);
        m_offBackground->setGeometry(area);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace Velmora
