#pragma once

#include <QLabel>
#include <QTimer>

namespace Velmora {

// The borderless start picture: shown before anything else, closes itself 3000 ms after it
// became visible.
class SplashForm : public QLabel {
    Q_OBJECT
public:
    // languageName: the first line of "LanguageIsSet.ini" (empty when missing: English).
    SplashForm(const QString &programFolder, const QString &languageName);

    static QString picturePath(const QString &programFolder, const QString &languageName);
    QTimer &closeTimer() { return m_timer; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QTimer m_timer;
};

} // namespace Velmora
