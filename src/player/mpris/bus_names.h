#pragma once

#include <QLatin1StringView>

namespace morvane::mpris {

// Where MPRIS players live on the session bus.
inline constexpr QLatin1StringView kBusPrefix("org.mpris.MediaPlayer2.");
inline constexpr QLatin1StringView kObjectPath("/org/mpris/MediaPlayer2");
inline constexpr QLatin1StringView kRootInterface("org.mpris.MediaPlayer2");
inline constexpr QLatin1StringView kPlayerInterface("org.mpris.MediaPlayer2.Player");
inline constexpr QLatin1StringView kPropertiesInterface("org.freedesktop.DBus.Properties");

} // namespace morvane::mpris
