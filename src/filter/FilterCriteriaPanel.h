#pragma once

#include "FilterCriteria.h"
#include "common/Language.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Velmora {

class FilterDatePicker;
struct PreparedFilter;

// The criteria part of the filter window: the five groups (term, without-term, date, extension,
// size) with their "and"/"or" boxes, the "Today"/"Clear" and "Ascii files"/"Clear" buttons, and
// each group's "ACTIVE" label and coloured background. It reads and writes FilterCriteria and
// reports every change of a control, including changes made through setCriteria, unless quiet.
class FilterCriteriaPanel : public QWidget {
    Q_OBJECT
public:
    explicit FilterCriteriaPanel(QWidget *parent = nullptr);

    FilterCriteria criteria() const;
    // Indexes outside their list leave the combo box without selection.
    void setCriteria(const FilterCriteria &criteria);
    // While quiet, changes of the controls are not reported.
    void setQuiet(bool quiet) { m_quiet = quiet; }
    // Shows "ACTIVE" and the background of exactly the groups the preparation marked.
    void showActive(const PreparedFilter &prepared);
    void retranslate(Language::Id language, bool germanDates);

    QLineEdit *termEdit() const { return m_termEdit; }
    QPushButton *todayButton() const { return m_today; }
    QPushButton *asciiFilesButton() const { return m_ascii; }

Q_SIGNALS:
    void criteriaEdited();

private:
    QWidget *group(const char *gradientName, const char *onLabelName, QLabel *&onLabel, QWidget *&gradient);
    QComboBox *combo(const char *name);
    void edited();
    void todayClicked();
    void asciiFilesClicked();
    void updateButtonCaptions();

    Language::Id m_language = Language::English;
    bool m_quiet = false;
    QLineEdit *m_termEdit, *m_withoutEdit, *m_extensionEdit, *m_fileSizeEdit;
    QComboBox *m_termDir, *m_withoutDir, *m_andDate, *m_dateIE, *m_andExtension, *m_extensionIE, *m_andFileSize,
        *m_fileSizeIE;
    FilterDatePicker *m_date;
    QPushButton *m_today, *m_ascii;
    QLabel *m_allWith, *m_and, *m_allWithout;
    QLabel *m_termOn, *m_withoutOn, *m_dateOn, *m_extensionOn, *m_fileSizeOn;
    QWidget *m_termGradient, *m_withoutGradient, *m_dateGradient, *m_extensionGradient, *m_fileSizeGradient;
};

} // namespace Velmora
