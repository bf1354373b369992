#include "outside_player.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace bench {
namespace {

const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");

} // namespace

OutsidePlayer::OutsidePlayer(const QString& name)
    : name_(name), bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("bench-outside")))
{
}

QString OutsidePlayer::Service() const
{
    const QString prefix = QStringLiteral("org.mpris.MediaPlayer2.") + name_;
    for (const QString& service : bus_.interface()->registeredServiceNames().value())
        if (service.startsWith(prefix)) return service;
    return {};
}

QString OutsidePlayer::Owner() const
{
    const QString found = Service();
    return found.isEmpty() ? QString() : bus_.interface()->serviceOwner(found).value();
}

std::optional<QVariant> OutsidePlayer::Property(const QString& name) const
{
    QDBusMessage get = QDBusMessage::createMethodCall(Service(), kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << kPlayer << name;
    const QDBusMessage answer = bus_.call(get, QDBus::Block, 1000);
    if (answer.type() != QDBusMessage::ReplyMessage || answer.arguments().isEmpty()) return std::nullopt;
    return answer.arguments().first().value<QDBusVariant>().variant();
}

bool OutsidePlayer::Call(const QString& method, const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(Service(), kPath, kPlayer, method);
    message.setArguments(arguments);
    return bus_.call(message, QDBus::Block, 1000).type() == QDBusMessage::ReplyMessage;
}

bool OutsidePlayer::Play() { return Call(QStringLiteral("Play")); }
bool OutsidePlayer::Pause() { return Call(QStringLiteral("Pause")); }

std::optional<double> OutsidePlayer::PositionMs() const
{
    const auto value = Property(QStringLiteral("Position"));
    return value ? std::optional(value->toLongLong() / 1000.0) : std::nullopt;
}

QString OutsidePlayer::Status() const
{
    const auto value = Property(QStringLiteral("PlaybackStatus"));
    return value ? value->toString() : QString();
}

std::optional<double> OutsidePlayer::LengthMs() const
{
    const auto metadata = Property(QStringLiteral("Metadata"));
    if (!metadata) return std::nullopt;
    const QVariantMap map = qdbus_cast<QVariantMap>(*metadata);
    if (!map.contains(QStringLiteral("mpris:length"))) return std::nullopt;
    return map.value(QStringLiteral("mpris:length")).toLongLong() / 1000.0;
}

bool OutsidePlayer::SeekToMs(double ms)
{
    const auto metadata = Property(QStringLiteral("Metadata"));
    if (!metadata) return false;
    const QVariant track = qdbus_cast<QVariantMap>(*metadata).value(QStringLiteral("mpris:trackid"));
    const QString track_path =
        track.canConvert<QDBusObjectPath>() ? track.value<QDBusObjectPath>().path() : track.toString();
    if (track_path.isEmpty()) return false;
    return Call(QStringLiteral("SetPosition"),
                {QVariant::fromValue(QDBusObjectPath(track_path)), QVariant::fromValue(static_cast<qint64>(ms * 1000))});
}

} // namespace bench
