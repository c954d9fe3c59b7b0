#include "VelmoraApplication.h"

#include <exception>

namespace Velmora {

VelmoraApplication::VelmoraApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool VelmoraApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        if (m_handler)
            m_handler(QString::fromUtf8(error.what()));
    } catch (...) {
        if (m_handler)
            m_handler(QString());
    }
    return false;
}

} // namespace Velmora
