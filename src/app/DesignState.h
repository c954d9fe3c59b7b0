#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace Velmora {

// The current design (colour scheme) name. Dialogs read it each time they are shown to pick
// their header picture "skins/Small_Head_" + name + ".bmp".
class DesignState : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    static inline const QString DefaultName = QStringLiteral("Office2003Blue");
    static QStringList names()
    {
        return {QStringLiteral("Office2003Blue"), QStringLiteral("Office2003Silver"), QStringLiteral("Office2003Olive"),
                QStringLiteral("Aluminium"), QStringLiteral("Gold")};
    }

    const QString &name() const { return m_name; }
    void setName(const QString &name)
    {
        m_name = names().contains(name) ? name : DefaultName;
        Q_EMIT designChanged(m_name);
    }

Q_SIGNALS:
    void designChanged(const QString &name);

private:
    QString m_name = DefaultName;
};

} // namespace Velmora
