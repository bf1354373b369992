#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <vector>

namespace morvane::mpris {

// The player's position between the moments it tells us. MPRIS players do
// not announce the position as it moves, so the last known value is carried
// forward at the playback rate while playing and held while not.
class PositionClock {
public:
    using Time = std::chrono::steady_clock::time_point;

    // What a reply that also named the track said at `at`: taken whole,
    // whatever jump came before.
    void Set(std::int64_t position_us, Time at);
    // A position no earlier query may undo, so their answers are dropped:
    // our own jump, known before the player has moved, a Seeked signal,
    // which Qt can deliver ahead of the answer to a query sent before it, or
    // the start of a new track. Some players (Audacious) go on answering the
    // place they left for a moment after it, so for a while an answer nearer
    // that place than the new one is dropped too; one near the new place
    // ends that.
    void Jump(std::int64_t position_us, Time at);
    // A rate that is not a finite number >= 0 is ignored.
    void SetRate(double rate, Time at);
    void SetPlaying(bool playing, Time at);
    // The position is not carried past the end. 0 = unknown length.
    void SetLength(std::int64_t length_us);

    // Taken when a position query is sent and handed back with its answer,
    // which counts as true halfway through the round trip. In steady play an
    // answer can be late but not early (mpv refreshes its position about
    // every 50 ms, VLC every 300), so the clock follows the freshest of the recent answers.
    // For half a second after a start, a seek or a stall, when a player may
    // hold its position a moment, each answer is taken whole.
    std::uint64_t Ticket() const { return jumps_; }
    void Answer(std::uint64_t ticket, std::int64_t position_us, Time sent, Time received);

    std::int64_t PositionUs(Time now) const;
    // The last few answers in steady play all lay close to the clock: the
    // player moves smoothly (mpv), and fewer answers keep the clock honest.
    // Players that move their Position in steps (VLC, Audacious) never agree.
    bool Agrees() const;
    // Where a player that stood at `position_us` at `from` stands at `to`,
    // at today's rate and state.
    std::int64_t CarriedUs(std::int64_t position_us, Time from, Time to) const
    {
        return Carried({position_us, from}, to);
    }

private:
    struct Fix {
        std::int64_t position_us;
        Time at;
    };

    std::int64_t Carried(Fix from, Time to) const;
    bool LeftBehind(Fix answer);
    void Place(std::int64_t position_us, Time at);
    void Rebase(Time at);
    void Moved(Time at);

    std::int64_t base_us_ = 0;
    Time base_at_{};
    double rate_ = 1.0;
    bool playing_ = false;
    std::int64_t length_us_ = 0;
    std::uint64_t jumps_ = 0;
    Time moved_at_{};
    int agreeing_ = 0;  // answers in a row close to the clock since it last moved
    Time jump_at_{};
    std::deque<Fix> answers_;  // since the player settled
    std::vector<Fix> left_;    // places left by jumps not yet confirmed
};

} // namespace morvane::mpris
