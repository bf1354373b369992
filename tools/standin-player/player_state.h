#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace standin {

using Clock = std::chrono::steady_clock;

// Values as the player reports them for its state query.
enum class PlayMode { Stopped = 0, Playing = 1, Paused = 3 };

struct Track {
    std::wstring name;
    std::int32_t length_sec;
};

// Track 1 is 245 s, track 2 is 40000 s (past a signed 16-bit count of
// seconds), track 3 is 95 s.
std::vector<Track> DefaultPlaylist();

// The simulated player: a playlist, a current track and a clock that runs
// while playing. The time is passed in, so nothing here reads a clock.
//
// Choices where the real player's behaviour is not pinned down:
// - play restarts the current track from 0 when stopped or playing and
//   resumes when paused;
// - a track that reaches its end while playing stops there, its position
//   held at the end (so a jump past the end reads back as the end);
// - previous and next wrap around the playlist, keep the play state and
//   start the new track at 0.
class PlayerState {
public:
    PlayerState(std::vector<Track> tracks, std::size_t track_index,
                 std::int32_t position_ms, PlayMode state, Clock::time_point now);

    PlayMode State(Clock::time_point now);
    std::int32_t PositionMs(Clock::time_point now);
    std::int32_t LengthSec() const { return tracks_[track_].length_sec; }
    std::int32_t TrackNumber() const { return static_cast<std::int32_t>(track_ + 1); }
    const std::wstring& TrackName() const { return tracks_[track_].name; }
    // "N. <name> - Winamp", as the player's window title reads.
    std::wstring Title() const;

    void Play(Clock::time_point now);
    void Pause(Clock::time_point now);
    void Stop(Clock::time_point now);
    void Previous(Clock::time_point now);
    void Next(Clock::time_point now);
    // Negative targets go to 0, targets past the end go to the end.
    void Jump(std::int32_t ms, Clock::time_point now);

    // What the player did, as it saw it: the position each jump left, and
    // how long each pause lasted until it played on.
    const std::vector<std::int32_t>& JumpedFrom() const { return jumped_from_; }
    const std::vector<std::int32_t>& PausesMs() const { return pauses_ms_; }

private:
    void Settle(Clock::time_point now);
    void ChangeTrack(std::size_t index, Clock::time_point now);
    // Playing again after a pause: its length is noted.
    void Resume(Clock::time_point now);
    std::int64_t LengthMs() const { return std::int64_t{LengthSec()} * 1000; }
    std::int64_t Clamped(std::int64_t ms) const;

    std::vector<Track> tracks_;
    std::size_t track_;
    PlayMode state_;
    std::int64_t base_ms_;     // position at since_
    Clock::time_point since_;  // when base_ms_ was taken; the clock runs from here while playing
    Clock::time_point paused_at_;
    std::vector<std::int32_t> jumped_from_;
    std::vector<std::int32_t> pauses_ms_;
};

}  // namespace standin
