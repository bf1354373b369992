#pragma once

#include <optional>
#include <string>

#include "player/player_choice.h"
#include "player/win32/aimp_link.h"
#include "player/win32/potplayer_link.h"
#include "player/win32/winamp_link.h"
#include "text/code_page.h"

namespace morvane::win32players {

// The players the Windows program drives, Winamp, PotPlayer and AIMP in that
// order, and the choice among them; `wish` is the name `--player` gave.
class DesktopPlayers {
public:
    DesktopPlayers(const morvane::CodePage& code_page, const std::optional<std::u16string>& wish);
    DesktopPlayers(const DesktopPlayers&) = delete;
    DesktopPlayers& operator=(const DesktopPlayers&) = delete;

    Player& Chosen() { return choice_; }

private:
    winamp::WinampLink winamp_;
    potplayer::PotPlayerLink potplayer_;
    aimp::AimpLink aimp_;
    PlayerChoice choice_;
};

} // namespace morvane::win32players
