#pragma once

#include <cstdint>
#include <string>

namespace morvane {

// The media player, one method per request the program makes of it. Every
// call finds the player again, so a restarted player is picked up by the
// next call. A missing or hung player is not an error: queries answer 0 and
// commands have no effect.
class Player {
public:
    virtual ~Player() = default;

    // Nonzero handle of the player in use, 0 when none is running.
    virtual std::uintptr_t Find_Player() = 0;

    // 1 playing, 3 paused, 0 stopped (or no player).
    virtual std::int32_t Get_Play_State() = 0;
    // Position in the current track, milliseconds.
    virtual std::int32_t Get_Position_Ms() = 0;
    // Length of the current track, whole seconds.
    virtual std::int32_t Get_Length_Sec() = 0;
    // Posted, not sent: returns before the player has moved. Any value goes.
    virtual void Jump_To_Ms(std::int32_t ms) = 0;

    virtual void Cmd_Prev() = 0;
    virtual void Cmd_Play() = 0;
    virtual void Cmd_Pause() = 0;
    virtual void Cmd_Stop() = 0;
    virtual void Cmd_Next() = 0;

    // The player's title as the caption shows it. false when no player
    // answered; `title` is then left alone.
    virtual bool Read_Title(std::u16string& title) = 0;

    // The player's name as the state line shows it ("Winamp", "mpv").
    virtual std::u16string Name() = 0;
    // What start-up tells the user when no player runs: what to start.
    virtual std::u16string Not_Found_Message() = 0;
};

} // namespace morvane
