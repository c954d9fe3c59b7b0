#include "FilterDatePicker.h"

#include "FilterMatching.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QWidgetAction>

namespace Velmora {

FilterDatePicker::FilterDatePicker(QWidget *parent)
    : QWidget(parent)
    , m_edit(new QLineEdit(this))
    , m_button(new QToolButton(this))
{
    setObjectName(QStringLiteral("NxDatePicker"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_edit->setReadOnly(true);
    m_edit->setContextMenuPolicy(Qt::NoContextMenu);
    m_edit->setMinimumWidth(m_edit->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 12);
    m_edit->installEventFilter(this);
    m_button->setArrowType(Qt::DownArrow);
    m_button->setObjectName(QStringLiteral("NxDatePickerButton"));
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_button);
    connect(m_edit, &QLineEdit::textChanged, this, &FilterDatePicker::textChanged);
    connect(m_button, &QToolButton::clicked, this, &FilterDatePicker::openCalendar);
}

QString FilterDatePicker::text() const
{
    return m_edit->text();
}

void FilterDatePicker::setText(const QString &text)
{
    m_edit->setText(text);
}

QString FilterDatePicker::dateText(const QDate &date) const
{
    return date.toString(m_german ? QStringLiteral("dd.MM.yyyy") : QStringLiteral("MM/dd/yyyy"));
}

void FilterDatePicker::pick(const QDate &date)
{
    if (date.isValid())
        setText(dateText(date));
}

void FilterDatePicker::openCalendar()
{
    QMenu menu(this);
    auto *calendar = new QCalendarWidget(&menu);
    const QDate shown = ReadDay(text());
    calendar->setSelectedDate(shown.isValid() ? shown : QDate::currentDate());
    auto *action = new QWidgetAction(&menu);
    action->setDefaultWidget(calendar);
    menu.addAction(action);
    connect(calendar, &QCalendarWidget::activated, &menu, [this, &menu](const QDate &date) {
        pick(date);
        menu.close();
    });
    connect(calendar, &QCalendarWidget::clicked, &menu, [this, &menu](const QDate &date) {
        pick(date);
        menu.close();
    });
    menu.exec(mapToGlobal(QPoint(0, height())));
}

bool FilterDatePicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
            setText(QString());
            return true;
        }
        if (key == Qt::Key_F4 || key == Qt::Key_Space) {
            openCalendar();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace Velmora
