#include "WindowFront.h"

#include <QGuiApplication>
#include <QWidget>

namespace Velmora {

bool WindowFront::platformStacksWindows()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QStringLiteral("offscreen") && platform != QStringLiteral("minimal");
}

void WindowFront::raise(QWidget &window)
{
    if (platformStacksWindows())
        window.raise();
}

} // namespace Velmora
