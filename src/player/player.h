#pragma once

#include <cstdint>
#include <string>

namespace morvane {

// What the player is doing. Unknown stands for an answer the program has no
// word for: the state line then stays as it was.
enum class PlayState { Stopped, Playing, Paused, Unknown };

// How long a player may take to answer before it counts as missing or hung,
// so that no tick waits on it for longer.
inline constexpr int kReplyLimitMs = 300;

// The media player, one method per request the program makes of it. Which
// player is in use is settled by Refresh, once per tick, so that a handler
// acts on one player from start to end; a restarted player is picked up at
// the next refresh. A missing or hung player is not an error: queries
// answer 0 (Stopped) and commands have no effect.
class Player {
public:
    virtual ~Player() = default;

    // Chooses the player that the calls until the next refresh act on.
    virtual void Refresh() = 0;

    // Nonzero handle of the player in use, 0 when none is running.
    virtual std::uintptr_t FindPlayer() = 0;

    virtual PlayState GetPlayState() = 0;
    // The state as the player itself tells it now, for the start of a
    // repetition: one query with a short limit, as GetExactPositionMs.
    virtual PlayState GetExactPlayState() { return GetPlayState(); }
    // Position in the current track, milliseconds.
    virtual std::int32_t GetPositionMs() = 0;
    // The position as the player itself tells it now, for a mark: one
    // query with a short limit. Links whose every answer is the player's
    // own need not override it.
    virtual std::int32_t GetExactPositionMs() { return GetPositionMs(); }
    // Length of the current track, whole seconds.
    virtual std::int32_t GetLengthSec() = 0;
    // Posted, not sent: returns before the player has moved. Any value goes.
    virtual void JumpToMs(std::int32_t ms) = 0;

    virtual void CmdPrev() = 0;
    virtual void CmdPlay() = 0;
    virtual void CmdPause() = 0;
    virtual void CmdStop() = 0;
    virtual void CmdNext() = 0;

    // The player's title as the caption shows it. false when no player
    // answered; `title` is then left alone.
    virtual bool ReadTitle(std::u16string& title) = 0;

    // Playback speed, 1 being the track's own. A link that says nothing of
    // speed cannot change it: Winamp's messages have no word for it.
    // true when the player takes SetSpeed.
    virtual bool CanChangeSpeed() { return false; }
    // The rate the player reports; 1 when it cannot change its speed.
    virtual double Speed() { return 1.0; }
    // Asks for `rate`, kept within what the player allows. No effect when
    // the player cannot change its speed.
    virtual void SetSpeed(double /*rate*/) {}

    // The local file being played, as a full path; empty when the player
    // plays none, plays a stream, or does not say which.
    virtual std::u16string FilePath() { return {}; }

    // The player's name as the state line shows it ("Winamp", "mpv").
    virtual std::u16string Name() = 0;
    // What start-up tells the user when no player runs: what to start.
    virtual std::u16string NotFoundMessage() = 0;
};

} // namespace morvane
