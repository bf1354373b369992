#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "player/player.h"

namespace morvane::mpris {

// PlaybackStatus as the port answers it; anything but Playing and Paused is Stopped.
PlayState PlayStateOf(std::string_view playback_status);

// mpris:length in whole seconds, rounded down; 0 for an unknown length.
std::int32_t LengthSec(std::int64_t length_us);

// A position in milliseconds, rounded down and kept in int32.
std::int32_t PositionMs(std::int64_t position_us);

// Where a jump really goes: never before the start, and a target at or past
// the end goes to the last second so the track does not run out. An unknown
// length (0) sets no upper bound.
std::int64_t JumpTargetUs(std::int64_t target_us, std::int64_t length_us);

} // namespace morvane::mpris
