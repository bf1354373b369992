#include "player/mpris/position_clock.h"

#include <algorithm>
#include <cmath>

namespace morvane::mpris {
namespace {

// Well inside int64, so sums and the double conversion cannot overflow.
constexpr std::int64_t kNoEndUs = 1'000'000'000'000'000'000;
// An answer this far ahead of the clock, or kLateUs behind it, means the
// player really moved (a stall, a seek we were not told of). Less behind is
// merely late: VLC moves its Position only every 300 ms, Audacious every 250.
constexpr std::int64_t kMovedUs = 200'000;
constexpr std::int64_t kLateUs = 400'000;
constexpr auto kSettle = std::chrono::milliseconds(500);
// Two seconds of answers at four a second.
constexpr std::size_t kRecentAnswers = 8;
// An answer this close to the clock agrees with it; so many in a row and
// the player moves as smoothly as the clock does.
constexpr std::int64_t kAgreeUs = 60'000;
constexpr int kAgreeingAnswers = 4;
// How long a player may still answer the place it left: Audacious takes
// about 0.1 s; a player that refused the jump is believed after this.
constexpr auto kLeftBehind = std::chrono::seconds(1);

} // namespace

void PositionClock::Set(std::int64_t position_us, Time at)
{
    left_.clear();
    Place(position_us, at);
    Moved(at);
}

void PositionClock::Jump(std::int64_t position_us, Time at)
{
    if (at - jump_at_ >= kLeftBehind) left_.clear();
    // Jumps made faster than answers come keep only the latest places.
    if (left_.size() >= kRecentAnswers) left_.erase(left_.begin());
    left_.push_back({PositionUs(at), at});
    Place(position_us, at);
    Moved(at);
    jump_at_ = at;
    ++jumps_;
}

void PositionClock::SetRate(double rate, Time at)
{
    if (!std::isfinite(rate) || rate < 0 || rate == rate_) return;
    Rebase(at);
    rate_ = rate;
    Moved(at);
}

void PositionClock::SetPlaying(bool playing, Time at)
{
    if (playing == playing_) return;
    Rebase(at);
    playing_ = playing;
    Moved(at);
}

void PositionClock::SetLength(std::int64_t length_us) { length_us_ = std::clamp<std::int64_t>(length_us, 0, kNoEndUs); }

void PositionClock::Answer(std::uint64_t ticket, std::int64_t position_us, Time sent, Time received)
{
    if (ticket != jumps_) return;
    // mpv answers a little below 0 just after it loops; kept, not rounded up.
    const Fix answer{std::clamp<std::int64_t>(position_us, -kNoEndUs, kNoEndUs), sent + (received - sent) / 2};
    if (LeftBehind(answer)) return;
    const std::int64_t ahead_us = answer.position_us - PositionUs(answer.at);
    if (ahead_us > kMovedUs || ahead_us < -kLateUs) Moved(answer.at);
    if (!playing_ || answer.at - moved_at_ < kSettle) answers_.clear();
    agreeing_ = playing_ && !answers_.empty() && std::abs(ahead_us) <= kAgreeUs ? agreeing_ + 1 : 0;
    answers_.push_back(answer);
    if (answers_.size() > kRecentAnswers) answers_.pop_front();
    std::int64_t freshest = 0;
    for (const Fix& earlier : answers_) freshest = std::max(freshest, Carried(earlier, answer.at));
    Place(freshest, answer.at);
}

bool PositionClock::LeftBehind(Fix answer)
{
    if (left_.empty()) return false;
    const std::int64_t off_us = std::abs(answer.position_us - PositionUs(answer.at));
    if (answer.at - jump_at_ >= kLeftBehind || off_us <= kMovedUs) {
        left_.clear();
        return false;
    }
    return std::ranges::any_of(left_, [&](Fix place) {
        return std::abs(answer.position_us - Carried(place, answer.at)) < off_us;
    });
}

bool PositionClock::Agrees() const { return agreeing_ >= kAgreeingAnswers; }

std::int64_t PositionClock::PositionUs(Time now) const { return Carried({base_us_, base_at_}, now); }

std::int64_t PositionClock::Carried(Fix from, Time to) const
{
    double position = static_cast<double>(from.position_us);
    if (playing_) position += rate_ * std::chrono::duration<double, std::micro>(to - from.at).count();
    const double end = static_cast<double>(length_us_ > 0 ? length_us_ : kNoEndUs);
    return static_cast<std::int64_t>(std::clamp(position, 0.0, end));
}

void PositionClock::Place(std::int64_t position_us, Time at)
{
    base_us_ = position_us;
    base_at_ = at;
}

void PositionClock::Rebase(Time at) { Place(PositionUs(at), at); }

void PositionClock::Moved(Time at)
{
    moved_at_ = at;
    answers_.clear();
    agreeing_ = 0;
}

} // namespace morvane::mpris
