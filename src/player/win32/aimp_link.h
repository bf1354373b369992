#pragma once

#include <cstdint>
#include <string>

#include "player/player.h"

namespace morvane::aimp {

// The player port over AIMP's remote API: properties and commands as window
// messages to its remote-control window, the track's tags in a shared memory
// map. The window is looked up at each refresh and every message gives a
// hung player a short time limit.
class AimpLink final : public morvane::Player {
public:
    void Refresh() override;
    std::uintptr_t FindPlayer() override;

    morvane::PlayState GetPlayState() override;
    std::int32_t GetPositionMs() override;
    // AIMP reports milliseconds; the port wants whole seconds, rounded down.
    std::int32_t GetLengthSec() override;
    void JumpToMs(std::int32_t ms) override;

    void CmdPrev() override;
    void CmdPlay() override;
    void CmdPause() override;
    void CmdStop() override;
    void CmdNext() override;

    // "Artist - Title" from the memory map, or the title alone without an artist.
    bool ReadTitle(std::u16string& title) override;
    // The file name of the memory map, when it is a local path.
    std::u16string FilePath() override;
    std::u16string Name() override;
    std::u16string NotFoundMessage() override;

private:
    std::int32_t Property(std::uintptr_t id);
    void Command(std::uintptr_t id);

    std::uintptr_t window_ = 0;       // as the last refresh found it
    std::uint64_t next_look_ms_ = 0;  // no lookup before it while no player runs
};

} // namespace morvane::aimp
