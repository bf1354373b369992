#include "player_state.h"

#include <algorithm>
#include <utility>

namespace standin {

std::vector<Track> default_playlist()
{
    return {
        {L"英语听力 第一课", 245},
        {L"英语听力 全集朗读", 40000},
        {L"Dialogue 03", 95},
    };
}

Player_state::Player_state(std::vector<Track> tracks, std::size_t track_index,
                           std::int32_t position_ms, Play_state state, Clock::time_point now)
    : tracks_(std::move(tracks)),
      track_(track_index < tracks_.size() ? track_index : 0),
      state_(state),
      base_ms_(clamped(position_ms)),
      since_(now)
{
}

Play_state Player_state::state(Clock::time_point now)
{
    settle(now);
    return state_;
}

std::int32_t Player_state::position_ms(Clock::time_point now)
{
    settle(now);
    std::int64_t ms = base_ms_;
    if (state_ == Play_state::playing)
        ms += std::chrono::duration_cast<std::chrono::milliseconds>(now - since_).count();
    return static_cast<std::int32_t>(clamped(ms));
}

std::wstring Player_state::title() const
{
    return std::to_wstring(track_number()) + L". " + track_name() + L" - Winamp";
}

void Player_state::play(Clock::time_point now)
{
    settle(now);
    if (state_ != Play_state::paused)
        base_ms_ = 0;
    state_ = Play_state::playing;
    since_ = now;
}

void Player_state::pause(Clock::time_point now)
{
    const std::int32_t at = position_ms(now);
    if (state_ == Play_state::playing)
        state_ = Play_state::paused;
    else if (state_ == Play_state::paused)
        state_ = Play_state::playing;
    else
        return;
    base_ms_ = at;
    since_ = now;
}

void Player_state::stop(Clock::time_point now)
{
    state_ = Play_state::stopped;
    base_ms_ = 0;
    since_ = now;
}

void Player_state::previous(Clock::time_point now)
{
    change_track(track_ == 0 ? tracks_.size() - 1 : track_ - 1, now);
}

void Player_state::next(Clock::time_point now)
{
    change_track(track_ + 1 == tracks_.size() ? 0 : track_ + 1, now);
}

void Player_state::jump(std::int32_t ms, Clock::time_point now)
{
    settle(now);
    base_ms_ = clamped(ms);
    since_ = now;
}

// A track that has run to its end while playing stops there.
void Player_state::settle(Clock::time_point now)
{
    if (state_ != Play_state::playing)
        return;
    const auto run = std::chrono::duration_cast<std::chrono::milliseconds>(now - since_).count();
    if (base_ms_ + run >= length_ms()) {
        state_ = Play_state::stopped;
        base_ms_ = length_ms();
        since_ = now;
    }
}

void Player_state::change_track(std::size_t index, Clock::time_point now)
{
    settle(now);
    track_ = index;
    base_ms_ = 0;
    since_ = now;
}

std::int64_t Player_state::clamped(std::int64_t ms) const
{
    return std::clamp<std::int64_t>(ms, 0, length_ms());
}

}  // namespace standin
