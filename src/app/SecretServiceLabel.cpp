#include "SecretServiceLabel.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QList>
#include <QMap>

namespace Velmora {

namespace {

const QString Service = QStringLiteral("org.freedesktop.secrets");
const QString ItemInterface = QStringLiteral("org.freedesktop.Secret.Item");
const QString Properties = QStringLiteral("org.freedesktop.DBus.Properties");

// The unlocked items QtKeychain wrote for the service and key (its attributes "server" and "user").
QList<QDBusObjectPath> unlockedItems(const QString &service, const QString &key, int timeoutMs)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return {};
    qDBusRegisterMetaType<QMap<QString, QString>>();
    QDBusMessage search = QDBusMessage::createMethodCall(Service, QStringLiteral("/org/freedesktop/secrets"),
                                                         QStringLiteral("org.freedesktop.Secret.Service"),
                                                         QStringLiteral("SearchItems"));
    const QMap<QString, QString> attributes{{QStringLiteral("server"), service}, {QStringLiteral("user"), key}};
    search << QVariant::fromValue(attributes);
    const QDBusMessage reply = bus.call(search, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qdbus_cast<QList<QDBusObjectPath>>(reply.arguments().constFirst());
}

} // namespace

bool SecretServiceLabel::set(const QString &service, const QString &key, const QString &label, int timeoutMs)
{
    bool labelled = false;
    for (const QDBusObjectPath &item : unlockedItems(service, key, timeoutMs)) {
        QDBusMessage set = QDBusMessage::createMethodCall(Service, item.path(), Properties, QStringLiteral("Set"));
        set << ItemInterface << QStringLiteral("Label") << QVariant::fromValue(QDBusVariant(label));
        const QDBusMessage reply = QDBusConnection::sessionBus().call(set, QDBus::Block, timeoutMs);
        labelled = reply.type() == QDBusMessage::ReplyMessage || labelled;
    }
    return labelled;
}

QString SecretServiceLabel::of(const QString &service, const QString &key, int timeoutMs)
{
    const QList<QDBusObjectPath> items = unlockedItems(service, key, timeoutMs);
    if (items.isEmpty())
        return {};
    QDBusMessage get = QDBusMessage::createMethodCall(Service, items.first().path(), Properties, QStringLiteral("Get"));
    get << ItemInterface << QStringLiteral("Label");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toString();
}

} // namespace Velmora
