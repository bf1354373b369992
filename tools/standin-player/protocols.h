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

// Messages of the protocol's table other than WM_GETTEXT.
bool IsTableMessage(Protocol protocol, UINT msg);

struct Answer {
    LRESULT result = 0;
    std::wstring command;  // what the window shows as the last command; empty for a query
};

// The answer to a message of the protocol's table; nullopt for any other message.
std::optional<Answer> AnswerMessage(Protocol protocol, PlayerState& player, UINT msg, WPARAM wparam, LPARAM lparam,
                                    Clock::time_point now);

}  // namespace standin
