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

PlayerState::PlayerState(std::vector<Track> tracks, std::size_t track_index,
                           std::int32_t position_ms, PlayMode state, Clock::time_point now)
    : tracks_(std::move(tracks)),
      track_(track_index < tracks_.size() ? track_index : 0),
      state_(state),
      base_ms_(clamped(position_ms)),
      since_(now)
{
}

PlayMode PlayerState::state(Clock::time_point now)
{
    settle(now);
    return state_;
}

std::int32_t PlayerState::position_ms(Clock::time_point now)
{
    settle(now);
    std::int64_t ms = base_ms_;
    if (state_ == PlayMode::Playing)
        ms += std::chrono::duration_cast<std::chrono::milliseconds>(now - since_).count();
    return static_cast<std::int32_t>(clamped(ms));
}

std::wstring PlayerState::title() const
{
    return std::to_wstring(track_number()) + L". " + track_name() + L" - Winamp";
}

void PlayerState::play(Clock::time_point now)
{
    settle(now);
    if (state_ != PlayMode::Paused)
        base_ms_ = 0;
    state_ = PlayMode::Playing;
    since_ = now;
}

void PlayerState::pause(Clock::time_point now)
{
    const std::int32_t at = position_ms(now);
    if (state_ == PlayMode::Playing)
        state_ = PlayMode::Paused;
    else if (state_ == PlayMode::Paused)
        state_ = PlayMode::Playing;
    else
        return;
    base_ms_ = at;
    since_ = now;
}

void PlayerState::stop(Clock::time_point now)
{
    state_ = PlayMode::Stopped;
    base_ms_ = 0;
    since_ = now;
}

void PlayerState::previous(Clock::time_point now)
{
    change_track(track_ == 0 ? tracks_.size() - 1 : track_ - 1, now);
}

void PlayerState::next(Clock::time_point now)
{
    change_track(track_ + 1 == tracks_.size() ? 0 : track_ + 1, now);
}

void PlayerState::jump(std::int32_t ms, Clock::time_point now)
{
    settle(now);
    base_ms_ = clamped(ms);
    since_ = now;
}

// A track that has run to its end while playing stops there.
void PlayerState::settle(Clock::time_point now)
{
    if (state_ != PlayMode::Playing)
        return;
    const auto run = std::chrono::duration_cast<std::chrono::milliseconds>(now - since_).count();
    if (base_ms_ + run >= length_ms()) {
        state_ = PlayMode::Stopped;
        base_ms_ = length_ms();
        since_ = now;
    }
}

void PlayerState::change_track(std::size_t index, Clock::time_point now)
{
    settle(now);
    track_ = index;
    base_ms_ = 0;
    since_ = now;
}

std::int64_t PlayerState::clamped(std::int64_t ms) const
{
    return std::clamp<std::int64_t>(ms, 0, length_ms());
}

}  // namespace standin
