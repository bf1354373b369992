#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text/code_page.h"
#include "player/player.h"

namespace morvane::winamp {

// The player port over Winamp's window messages. The window is found again
// at each refresh (RefreshWindow), so a restarted player is followed, and
// every message gives a hung player a short time limit, so a missing or
// frozen player never blocks the program.
class WinampLink final : public morvane::Player {
public:
    // The title arrives in the ANSI code page and is read through `code_page`.
    explicit WinampLink(const morvane::CodePage& code_page);

    void Refresh() override;
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
    // The playlist entry being played, read from the player's own memory.
    std::u16string FilePath() override;
    std::u16string Name() override;
    std::u16string NotFoundMessage() override;

private:
    const morvane::CodePage& code_page_;
    std::uintptr_t window_ = 0;       // as the last refresh found it
    std::uint64_t next_look_ms_ = 0;  // no lookup before it while no player runs
    std::vector<char> title_buf_;  // reused by every title read
};

} // namespace morvane::winamp
