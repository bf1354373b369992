#include "player/win32/desktop_players.h"

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace morvane::win32players {
namespace {

std::vector<std::u16string> CommandLineArguments()
{
    std::vector<std::u16string> arguments;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr) return arguments;
    for (int i = 1; i < count; ++i) {
        const std::wstring argument(argv[i]);
        arguments.emplace_back(argument.begin(), argument.end());
    }
    LocalFree(argv);
    return arguments;
}

std::vector<Candidate> Candidates(Player& winamp, Player& potplayer, Player& aimp)
{
    return {{u"winamp", &winamp}, {u"potplayer", &potplayer}, {u"aimp", &aimp}};
}

} // namespace

DesktopPlayers::DesktopPlayers(const morvane::CodePage& code_page)
    : winamp_(code_page),
      choice_(Candidates(winamp_, potplayer_, aimp_),
              WantedCandidate(CommandLineArguments(), Candidates(winamp_, potplayer_, aimp_)))
{
}

} // namespace morvane::win32players
