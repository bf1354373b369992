#pragma once

#include <cstdint>
#include <string>

namespace morvane {

// The media player's message interface, one method per message the program
// sends. Every call finds the player window again, so a restarted player is
// picked up by the next call. A missing or hung player is not an error:
// queries answer 0 and commands have no effect.
class Player {
public:
    virtual ~Player() = default;

    // Nonzero handle of the player's main window, 0 when none is running.
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

    // The player's window title in the ANSI code page, up to its first NUL.
    // false when no player answered; `title` is then left alone.
    virtual bool Read_Title(std::string& title) = 0;
};

} // namespace morvane
