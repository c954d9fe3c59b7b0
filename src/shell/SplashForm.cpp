#include "SplashForm.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace Velmora {

SplashForm::SplashForm(const QString &programFolder, const QString &languageName)
    : QLabel(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SplashForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    const QPixmap picture(picturePath(programFolder, languageName));
    if (!picture.isNull()) {
        setPixmap(picture);
        setFixedSize(picture.size());
    } else {
        setFixedSize(480, 300);
    }
    m_timer.setSingleShot(true);
    m_timer.setInterval(3000);
    connect(&m_timer, &QTimer::timeout, this, &QWidget::close);
}

QString SplashForm::picturePath(const QString &programFolder, const QString &languageName)
{
    const QString folder = languageName == u"GERMAN" ? QStringLiteral("recom_GR/") : QStringLiteral("recom_EN/");
    return programFolder + folder + QStringLiteral("m_splash.jpg");
}

void SplashForm::showEvent(QShowEvent *event)
{
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_timer.start();
    QLabel::showEvent(event);
}

} // namespace Velmora
