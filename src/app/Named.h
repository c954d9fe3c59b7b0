#pragma once

#include <QString>

namespace Velmora {

// Gives a control or action the component name tests and wiring find it by, and returns it,
// so a window can create and name in one expression.
template <typename T>
T *named(T *object, const char *name)
{
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

} // namespace Velmora
