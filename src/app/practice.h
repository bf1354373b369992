#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/settings/setting_table.h"
#include "player/player.h"

namespace morvane {

// How long a command of Morvane's may take to show in what the player reports.
inline constexpr std::int64_t kCommandShowsWithinMs = 1000;

// Going over a passage [A, B): pass after pass, with a pause between, and
// the jump back when playback resumes after a pause. It is steered by the
// poll tick with what the tick has read from the player anyway, so it costs
// the player no query of its own; its commands go to the player at once.
class Practice {
public:
    // Reads `settings` as they stand at each pass; whoever owns them may change them.
    Practice(Player& player, const settings::Settings& settings) : player_(player), settings_(settings) {}

    // Starts repeating from a_ms to b_ms: jumps to A and plays. `state` and
    // `length_sec` are the player's now; a new length later means a new track.
    void Start(std::int32_t a_ms, std::int32_t b_ms, std::int32_t length_sec, PlayState state, std::int64_t now_ms);
    // Stops repeating; the player plays on as it is.
    void End() { passage_.reset(); }
    bool Repeating() const { return passage_.has_value(); }
    bool Contains(std::int32_t ms) const { return passage_ && ms >= passage_->a_ms && ms < passage_->b_ms; }

    // A jump Morvane makes on the user's behalf that stays in the practice
    // wherever it lands (快退, 快进).
    void OwnJump(std::int32_t target_ms, std::int64_t now_ms);

    // The jump back of a resume after a pause that began at `position_ms`.
    // The tick makes it for the pauses it sees; a pause it could not see
    // (the note's prompt holds the tick) is told here.
    void RewindFrom(std::int32_t position_ms, std::int64_t now_ms);

    // Once a tick, with the player's state, position and length as the tick read them.
    void Tick(PlayState state, std::int32_t position_ms, std::int32_t length_sec, std::int64_t now_ms);

    // What the state line says after the player's name while a passage
    // repeats ("复读第2遍......"); nullopt when the player's own state shows.
    std::optional<std::u16string> StateText(PlayState state) const;

private:
    struct Passage {
        std::int32_t a_ms;
        std::int32_t b_ms;
        std::int32_t length_sec;
        int pass = 1;
        bool in_gap = false;
        std::int64_t gap_ends_ms = 0;
        bool gap_seen_paused = false;
    };
    // The pause after a pass: set in seconds, or as long as the passage.
    std::int64_t GapMs(const Passage& passage);
    struct Reading {
        PlayState state;
        std::int32_t position_ms;
        std::int64_t at_ms;
    };
    struct PendingJump {
        std::int32_t target_ms;
        std::int64_t at_ms;
    };

    // Jumps to A and plays, as Morvane's own jump and resume.
    void PlayFromA(PlayState state, std::int64_t now_ms);
    void PassEnded(std::int64_t now_ms);
    // true when the position moved since the last tick other than by
    // playing or by Morvane's own jump; settles that jump once it shows.
    bool MovedAway(const Reading& now);

    Player& player_;
    const settings::Settings& settings_;
    std::optional<Passage> passage_;
    std::optional<Reading> last_;
    std::optional<PendingJump> own_jump_;
    // A resume Morvane asked for itself, not yet seen: it does not rewind.
    std::optional<std::int64_t> own_resume_at_ms_;
};

} // namespace morvane
