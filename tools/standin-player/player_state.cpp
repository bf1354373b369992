#include "player_state.h"

#include <algorithm>
#include <utility>

namespace standin {

std::vector<Track> DefaultPlaylist()
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
      base_ms_(Clamped(position_ms)),
      since_(now),
      paused_at_(now)
{
}

PlayMode PlayerState::State(Clock::time_point now)
{
    Settle(now);
    return state_;
}

std::int32_t PlayerState::PositionMs(Clock::time_point now)
{
    Settle(now);
    std::int64_t ms = base_ms_;
    if (state_ == PlayMode::Playing)
        ms += std::chrono::duration_cast<std::chrono::milliseconds>(now - since_).count();
    return static_cast<std::int32_t>(Clamped(ms));
}

std::wstring PlayerState::Title() const
{
    return std::to_wstring(TrackNumber()) + L". " + TrackName() + L" - Winamp";
}

void PlayerState::Play(Clock::time_point now)
{
    Settle(now);
    if (state_ == PlayMode::Paused)
        Resume(now);
    else
        base_ms_ = 0;
    state_ = PlayMode::Playing;
    since_ = now;
}

void PlayerState::Pause(Clock::time_point now)
{
    const std::int32_t at = PositionMs(now);
    if (state_ == PlayMode::Playing) {
        state_ = PlayMode::Paused;
        paused_at_ = now;
    } else if (state_ == PlayMode::Paused) {
        Resume(now);
        state_ = PlayMode::Playing;
    } else {
        return;
    }
    base_ms_ = at;
    since_ = now;
}

void PlayerState::Stop(Clock::time_point now)
{
    state_ = PlayMode::Stopped;
    base_ms_ = 0;
    since_ = now;
}

void PlayerState::Previous(Clock::time_point now)
{
    ChangeTrack(track_ == 0 ? tracks_.size() - 1 : track_ - 1, now);
}

void PlayerState::Next(Clock::time_point now)
{
    ChangeTrack(track_ + 1 == tracks_.size() ? 0 : track_ + 1, now);
}

void PlayerState::Jump(std::int32_t ms, Clock::time_point now)
{
    jumped_from_.push_back(PositionMs(now));
    base_ms_ = Clamped(ms);
    since_ = now;
}

// A track that has run to its end while playing stops there.
void PlayerState::Settle(Clock::time_point now)
{
    if (state_ != PlayMode::Playing)
        return;
    const auto run = std::chrono::duration_cast<std::chrono::milliseconds>(now - since_).count();
    if (base_ms_ + run >= LengthMs()) {
        state_ = PlayMode::Stopped;
        base_ms_ = LengthMs();
        since_ = now;
    }
}

void PlayerState::Resume(Clock::time_point now)
{
    pauses_ms_.push_back(static_cast<std::int32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now - paused_at_).count()));
}

void PlayerState::ChangeTrack(std::size_t index, Clock::time_point now)
{
    Settle(now);
    track_ = index;
    base_ms_ = 0;
    since_ = now;
}

std::int64_t PlayerState::Clamped(std::int64_t ms) const
{
    return std::clamp<std::int64_t>(ms, 0, LengthMs());
}

}  // namespace standin
