#include "player/mpris/property_values.h"

#include <algorithm>
#include <limits>

namespace morvane::mpris {
namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kUsPerSec = 1'000'000;
// "Audacious" and "Winamp" fit whole beside "处于播放状态......".
constexpr std::size_t kShortName = 10;

bool EndsWithIgnoringCase(std::u16string_view text, std::u16string_view lower_end)
{
    if (text.size() < lower_end.size()) return false;
    return std::ranges::equal(text.substr(text.size() - lower_end.size()), lower_end, [](char16_t a, char16_t b) {
        return (a >= u'A' && a <= u'Z' ? a - u'A' + u'a' : a) == b;
    });
}

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

std::u16string ShortName(std::u16string_view identity)
{
    constexpr std::u16string_view kMediaPlayer = u" media player";
    if (identity.size() > kMediaPlayer.size() && EndsWithIgnoringCase(identity, kMediaPlayer))
        identity.remove_suffix(kMediaPlayer.size());
    if (identity.size() <= kShortName) return std::u16string(identity);
    // Never half of a surrogate pair.
    std::size_t kept = kShortName - 1;
    if (identity[kept] >= 0xDC00 && identity[kept] <= 0xDFFF) --kept;
    return std::u16string(identity.substr(0, kept)) + u'…';
}

} // namespace morvane::mpris
