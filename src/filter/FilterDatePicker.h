#pragma once

#include <QDate>
#include <QWidget>

class QCalendarWidget;
class QLineEdit;
class QToolButton;

namespace Velmora {

// The filter's date field "NxDatePicker": a date is chosen from a calendar or cleared (Delete
// or Backspace), never typed or pasted. It shows the system's short date, "dd.mm.yyyy" on a
// German system and "mm/dd/yyyy" otherwise; a date loaded from a filter file keeps its text.
class FilterDatePicker : public QWidget {
    Q_OBJECT
public:
    explicit FilterDatePicker(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);
    void setGermanDates(bool german) { m_german = german; }
    // A day in the short date format.
    QString dateText(const QDate &date) const;
    // As if the day was chosen in the calendar.
    void pick(const QDate &date);
    QLineEdit *edit() const { return m_edit; }

Q_SIGNALS:
    void textChanged(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openCalendar();

    QLineEdit *m_edit;
    QToolButton *m_button;
    bool m_german = false;
};

} // namespace Velmora
