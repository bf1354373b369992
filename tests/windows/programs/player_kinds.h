#pragma once

// The players the stand-in answers for, as the tests see each one: the name
// that --as and Morvane's --player take, its window, the name in Morvane's
// state line, and the log lines the poll tick sends by itself.

#include <string>
#include <vector>

namespace morvane::e2e {

struct PlayerKind {
    std::wstring option;        // "potplayer"
    std::wstring window_class;  // the stand-in's window in this mode
    std::wstring shown_name;    // "PotPlayer", as in "PotPlayer处于播放状态"
    bool dots_fit;              // the state line keeps its trailing dots
    std::vector<std::string> tick_queries;  // whole log lines
    std::string title_read;     // the start of the title read's line; empty when the title needs no message
};

// Winamp, PotPlayer and AIMP, in the order Morvane looks for them.
const std::vector<PlayerKind>& PlayerKinds();
inline const PlayerKind& WinampKind() { return PlayerKinds()[0]; }
inline const PlayerKind& PotPlayerKind() { return PlayerKinds()[1]; }
inline const PlayerKind& AimpKind() { return PlayerKinds()[2]; }

// The state line for one of 播放, 暂停, 停止.
inline std::wstring StateLine(const PlayerKind& kind, const std::wstring& word)
{
    return kind.shown_name + L"处于" + word + (kind.dots_fit ? L"状态......" : L"状态");
}

} // namespace morvane::e2e
