#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "player/player.h"

namespace morvane::potplayer {

// The player port over PotPlayer's remote-control messages. As with Winamp,
// every operation looks the window up again and gives a hung player a short
// time limit.
class PotPlayerLink final : public morvane::Player {
public:
    PotPlayerLink();

    void Refresh() override {}
    std::uintptr_t FindPlayer() override;

    morvane::PlayState GetPlayState() override;
    std::int32_t GetPositionMs() override;
    // PotPlayer reports milliseconds; the port wants whole seconds, rounded down.
    std::int32_t GetLengthSec() override;
    void JumpToMs(std::int32_t ms) override;

    void CmdPrev() override;
    void CmdPlay() override;
    void CmdPause() override;
    void CmdStop() override;
    void CmdNext() override;

    // The window's own text, which PotPlayer keeps as "<file> - PotPlayer".
    bool ReadTitle(std::u16string& title) override;
    std::u16string Name() override;
    std::u16string NotFoundMessage() override;

private:
    std::vector<wchar_t> title_buf_;  // reused by every title read
};

} // namespace morvane::potplayer
