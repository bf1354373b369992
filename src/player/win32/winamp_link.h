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
class WinampLink final : public morvane::Player {
public:
    // The title arrives in the ANSI code page and is read through `code_page`.
    explicit WinampLink(const morvane::CodePage& code_page);

    // Nothing to choose: every message finds the one player window again.
    void Refresh() override {}
    std::uintptr_t FindPlayer() override;

    morvane::PlayState GetPlayState() override;
    std::int32_t GetPositionMs() override;
    std::int32_t GetLengthSec() override;
    void JumpToMs(std::int32_t ms) override;

    void CmdPrev() override;
    void CmdPlay() override;
    void CmdPause() override;
    void CmdStop() override;
    void CmdNext() override;

    bool ReadTitle(std::u16string& title) override;
    std::u16string Name() override;
    std::u16string NotFoundMessage() override;

private:
    const morvane::CodePage& code_page_;
    std::vector<char> title_buf_;  // reused by every title read
};

} // namespace morvane::winamp
