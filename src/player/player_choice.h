#pragma once

// Which of several player links the program drives.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "player/player.h"

namespace morvane {

// One player link with the name `--player` gives it.
struct Candidate {
    std::u16string option;
    Player* link;
};

// The index of the candidate that `--player` names, in any letter case;
// nullopt without the option, `candidates.size()` for a name none has (or
// the option without a name).
std::optional<std::size_t> WantedCandidate(const std::optional<std::u16string>& wish,
                                           const std::vector<Candidate>& candidates);

// The player port over several links. Without a wish it drives the one
// ChoosePlayer picks among those running, in the candidates' order, so one
// running player is asked exactly what its own link asks. With a wish it
// drives that link alone.
class PlayerChoice final : public Player {
public:
    PlayerChoice(std::vector<Candidate> candidates, std::optional<std::size_t> wanted);

    void Refresh() override;
    std::uintptr_t FindPlayer() override;

    PlayState GetPlayState() override { return Current().GetPlayState(); }
    std::int32_t GetPositionMs() override { return Current().GetPositionMs(); }
    std::int32_t GetExactPositionMs() override { return Current().GetExactPositionMs(); }
    std::int32_t GetLengthSec() override { return Current().GetLengthSec(); }
    void JumpToMs(std::int32_t ms) override { Current().JumpToMs(ms); }

    void CmdPrev() override { Current().CmdPrev(); }
    void CmdPlay() override { Current().CmdPlay(); }
    void CmdPause() override { Current().CmdPause(); }
    void CmdStop() override { Current().CmdStop(); }
    void CmdNext() override { Current().CmdNext(); }

    bool ReadTitle(std::u16string& title) override;
    bool CanChangeSpeed() override { return Current().CanChangeSpeed(); }
    double Speed() override { return Current().Speed(); }
    void SetSpeed(double rate) override { Current().SetSpeed(rate); }
    std::u16string FilePath() override { return chosen_ ? Current().FilePath() : std::u16string(); }
    std::u16string Name() override;
    std::u16string NotFoundMessage() override;

private:
    Player& Current() { return *candidates_[chosen_.value_or(0)].link; }
    void Choose();

    std::vector<Candidate> candidates_;
    std::optional<std::size_t> wanted_;
    std::optional<std::size_t> chosen_;  // none until a player has been found
};

} // namespace morvane
