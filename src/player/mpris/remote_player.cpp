#include "player/mpris/remote_player.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>
#include <utility>

#include "player/mpris/bus_names.h"
#include "player/mpris/property_values.h"
#include "player/mpris/track_caption.h"

namespace morvane::mpris {
namespace {

// An object path, or a string from older players; empty when it could not
// be sent back as an object path or names no track.
QString TrackId(const QVariant& value)
{
    static const QRegularExpression object_path(QStringLiteral("^/([A-Za-z0-9_]+(/[A-Za-z0-9_]+)*)?$"));
    const QString path = value.metaType() == QMetaType::fromType<QDBusObjectPath>()
                             ? value.value<QDBusObjectPath>().path()
                             : value.toString();
    if (path == QLatin1StringView("/org/mpris/MediaPlayer2/TrackList/NoTrack")) return {};
    return object_path.match(path).hasMatch() ? path : QString();
}

std::string_view View(const QByteArray& bytes) { return {bytes.constData(), static_cast<std::size_t>(bytes.size())}; }

} // namespace

QVariantMap AsMap(const QVariant& value)
{
    // Containers arrive still marshalled; check the type before taking them apart.
    if (value.metaType() != QMetaType::fromType<QDBusArgument>()) return value.toMap();
    const auto argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1StringView("a{sv}")) return {};
    return qdbus_cast<QVariantMap>(argument);
}

std::optional<std::int64_t> Microseconds(const QVariant& value)
{
    // Out-of-range values are clamped before converting: a wrapped or
    // undefined conversion would be a wrong time.
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    switch (value.metaType().id()) {
    case QMetaType::ULongLong:
        return static_cast<std::int64_t>(std::min<qulonglong>(value.toULongLong(), kMax));
    case QMetaType::Double: {
        const double us = value.toDouble();
        if (!std::isfinite(us)) return std::nullopt;
        return static_cast<std::int64_t>(std::clamp(us, -9e18, 9e18));
    }
    default: {
        bool ok = false;
        const qlonglong us = value.toLongLong(&ok);
        return ok ? std::optional<std::int64_t>(us) : std::nullopt;
    }
    }
}

bool RemotePlayer::Apply(const QString& interface, const QVariantMap& properties, Time now)
{
    if (interface == kRootInterface) {
        const QString name = properties.value(QStringLiteral("Identity")).toString();
        if (!name.isEmpty() && name != identity) {
            identity = name;
            UpdateCaption();
        }
        return false;
    }
    if (interface != kPlayerInterface) return false;

    bool moved = false;
    if (auto it = properties.find(QStringLiteral("PlaybackStatus")); it != properties.end()) {
        const PlayState next = PlayStateOf(View(it->toString().toUtf8()));
        moved = next != state;
        if (moved) ++actions;
        state = next;
        clock.SetPlaying(state == PlayState::Playing, now);
    }
    if (auto it = properties.find(QStringLiteral("Rate")); it != properties.end()) {
        const double next = it->toDouble();
        clock.SetRate(next, now);
        if (std::isfinite(next) && next > 0) rate = next;
    }
    for (const auto& [property, bound] : {std::pair{QStringLiteral("MinimumRate"), &minimum_rate},
                                          std::pair{QStringLiteral("MaximumRate"), &maximum_rate}})
        if (auto it = properties.find(property); it != properties.end() && std::isfinite(it->toDouble()))
            *bound = it->toDouble();
    if (auto it = properties.find(QStringLiteral("CanSeek")); it != properties.end()) can_seek = it->toBool();
    if (auto it = properties.find(QStringLiteral("Metadata")); it != properties.end())
        moved = ApplyMetadata(AsMap(*it), now) || moved;
    return moved;
}

void RemotePlayer::Signalled(const QVariantMap& changed)
{
    ++signals_seen;
    for (auto it = changed.keyBegin(); it != changed.keyEnd(); ++it) signalled[*it] = signals_seen;
}

QVariantMap RemotePlayer::NewerThanSignals(QVariantMap properties, std::uint64_t since) const
{
    for (const auto& [property, at] : signalled)
        if (at > since) properties.remove(property);
    return properties;
}

bool RemotePlayer::ApplyMetadata(const QVariantMap& metadata, Time now)
{
    const QString next_id = TrackId(metadata.value(QStringLiteral("mpris:trackid")));
    const QString next_url = metadata.value(QStringLiteral("xesam:url")).toString();
    const bool new_track = next_id != track_id || next_url != url;
    track_id = next_id;
    url = next_url;
    title = metadata.value(QStringLiteral("xesam:title")).toString();
    length_us = std::max<std::int64_t>(Microseconds(metadata.value(QStringLiteral("mpris:length"))).value_or(0), 0);
    clock.SetLength(length_us);
    // Not every player sends Seeked when a new track starts, and an answer
    // from the old track may still be on its way.
    if (new_track) {
        clock.Jump(0, now);
        ++actions;
    }
    UpdateCaption();
    return new_track;
}

void RemotePlayer::UpdateCaption()
{
    caption = TrackCaption(View(title.toUtf8()), View(url.toUtf8()), View(identity.toUtf8()));
}

} // namespace morvane::mpris
