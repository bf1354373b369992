#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "player/player.h"

namespace morvane::potplayer {

// The player port over PotPlayer's remote-control messages. As with Winamp,
// the window is looked up at each refresh and every message gives a hung
// player a short time limit.
class PotPlayerLink final : public morvane::Player {
public:
    PotPlayerLink();
    ~PotPlayerLink() override;
    PotPlayerLink(const PotPlayerLink&) = delete;
    PotPlayerLink& operator=(const PotPlayerLink&) = delete;

    void Refresh() override;
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
    // Asked of the player, which sends it back to a window of this link; to
    // be called on the thread that calls the rest.
    std::u16string FilePath() override;
    std::u16string Name() override;
    std::u16string NotFoundMessage() override;

    // What a WM_COPYDATA brought to the window that receives the path.
    struct CopiedReply {
        bool arrived = false;
        std::string bytes;
    };

private:
    std::uintptr_t window_ = 0;       // as the last refresh found it
    std::uint64_t next_look_ms_ = 0;  // no lookup before it while no player runs
    std::uintptr_t receiver_ = 0;     // message-only, made at the first ask
    CopiedReply reply_;
    std::vector<wchar_t> title_buf_;  // reused by every title read
};

} // namespace morvane::potplayer
