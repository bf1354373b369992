#include "player/mpris/property_values.h"

#include <algorithm>
#include <limits>

namespace morvane::mpris {
namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kUsPerSec = 1'000'000;

} // namespace

PlayState PlayStateOf(std::string_view playback_status)
{
    if (playback_status == "Playing") return PlayState::Playing;
    if (playback_status == "Paused") return PlayState::Paused;
    return PlayState::Stopped;
}

std::int32_t LengthSec(std::int64_t length_us)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(length_us / kUsPerSec, 0, kInt32Max));
}

std::int32_t PositionMs(std::int64_t position_us)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(position_us / 1000, 0, kInt32Max));
}

std::int64_t JumpTargetUs(std::int64_t target_us, std::int64_t length_us)
{
    if (target_us < 0) return 0;
    if (length_us > 0 && target_us >= length_us) return std::max<std::int64_t>(length_us - kUsPerSec, 0);
    return target_us;
}

} // namespace morvane::mpris
