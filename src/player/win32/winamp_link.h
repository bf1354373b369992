#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text/code_page.h"
#include "player/player.h"

namespace morvane::winamp {

// The player port over Winamp's window messages. Every operation looks the
// window up again and gives a hung player a short time limit, so a missing,
// restarted or frozen player never blocks the program.
class Winamp_Link final : public morvane::Player {
public:
    // The title arrives in the ANSI code page and is read through `code_page`.
    explicit Winamp_Link(const morvane::CodePage& code_page);

    // Nothing to choose: every message finds the one player window again.
    void Refresh() override {}
    std::uintptr_t Find_Player() override;

    morvane::PlayState Get_Play_State() override;
    std::int32_t Get_Position_Ms() override;
    std::int32_t Get_Length_Sec() override;
    void Jump_To_Ms(std::int32_t ms) override;

    void Cmd_Prev() override;
    void Cmd_Play() override;
    void Cmd_Pause() override;
    void Cmd_Stop() override;
    void Cmd_Next() override;

    bool Read_Title(std::u16string& title) override;
    std::u16string Name() override;
    std::u16string Not_Found_Message() override;

private:
    const morvane::CodePage& code_page_;
    std::vector<char> title_buf_;  // reused by every title read
};

} // namespace morvane::winamp
