#include "player/win32/desktop_players.h"

#include <vector>

namespace morvane::win32players {
namespace {

std::vector<Candidate> Candidates(Player& winamp, Player& potplayer, Player& aimp)
{
    return {{u"winamp", &winamp}, {u"potplayer", &potplayer}, {u"aimp", &aimp}};
}

} // namespace

DesktopPlayers::DesktopPlayers(const morvane::CodePage& code_page, const std::optional<std::u16string>& wish)
    : winamp_(code_page),
      choice_(Candidates(winamp_, potplayer_, aimp_), WantedCandidate(wish, Candidates(winamp_, potplayer_, aimp_)))
{
}

} // namespace morvane::win32players
