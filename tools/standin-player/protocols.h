#pragma once

// The three message tables the stand-in can answer, each written from that
// player's public documentation, over the one simulated player.

#include <windows.h>

#include <optional>
#include <string>

#include "player_state.h"

namespace standin {

enum class Protocol { Winamp, PotPlayer, Aimp };

// The class of the window the player's remote control is found by.
const wchar_t* WindowClass(Protocol protocol);
// The player window's title as the real player writes it; for AIMP, whose
// remote window has no title of interest, the "artist - title" of its map.
std::wstring WindowTitle(Protocol protocol, const PlayerState& player);
// The artist of every track, as the AIMP mode's memory map gives it.
inline constexpr wchar_t kArtist[] = L"示例朗读者";

// The file the player says it plays, in each form a table hands it out;
// all empty when it says none.
struct PlayedFile {
    std::wstring path;
    std::string ansi;  // Winamp's IPC_GETPLAYLISTFILE, in the ANSI code page
    std::string utf8;  // PotPlayer's WM_COPYDATA
};
PlayedFile MakePlayedFile(const std::wstring& path);

// Messages of the protocol's table other than WM_GETTEXT.
bool IsTableMessage(Protocol protocol, UINT msg);

struct Answer {
    LRESULT result = 0;
    std::wstring command;  // what the window shows as the last command; empty for a query
};

// The answer to a message of the protocol's table; nullopt for any other
// message. `self` is the player's window, which PotPlayer names in the
// WM_COPYDATA it answers a path request with.
std::optional<Answer> AnswerMessage(Protocol protocol, PlayerState& player, const PlayedFile& file, HWND self, UINT msg,
                                    WPARAM wparam, LPARAM lparam, Clock::time_point now);

}  // namespace standin
