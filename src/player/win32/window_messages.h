#pragma once

// What the links over window messages share: finding the player's window at
// each refresh without a lookup on every tick, a send that a missing, hung
// or slow player cannot block, and the players' milliseconds as whole seconds.

#include <windows.h>

#include <cstdint>
#include <optional>

#include "player/player.h"

namespace morvane::win32players {

// How long a player that is not running goes unlooked for.
inline constexpr std::uint64_t kLookAgainMs = 250;

// The player's window for the calls until the next refresh: the one found
// before while it still exists, else what `find` finds. A lookup walks the
// desktop's windows, and the tick refreshes a hundred times a second, so
// while no player runs it looks again only every kLookAgainMs.
inline std::uintptr_t RefreshWindow(std::uintptr_t window, std::uint64_t& next_look_ms, HWND (*find)())
{
    if (window != 0 && IsWindow(reinterpret_cast<HWND>(window))) return window;
    const std::uint64_t now = GetTickCount64();
    if (window == 0 && now < next_look_ms) return 0;
    next_look_ms = now + kLookAgainMs;
    return reinterpret_cast<std::uintptr_t>(find());
}

// How text in a message travels: a window of the ANSI API (Winamp's) hands
// its title over in the code page only when asked in that form.
enum class TextForm { Wide, Ansi };

// The player's answer, or nullopt when it is missing, hung or too slow.
inline std::optional<LRESULT> SendWithin(HWND player, UINT msg, WPARAM wparam, LPARAM lparam,
                                         TextForm form = TextForm::Wide)
{
    if (player == nullptr) return std::nullopt;
    DWORD_PTR result = 0;
    constexpr UINT kLimit = kReplyLimitMs;
    const LRESULT sent = form == TextForm::Ansi
                             ? SendMessageTimeoutA(player, msg, wparam, lparam, SMTO_ABORTIFHUNG, kLimit, &result)
                             : SendMessageTimeoutW(player, msg, wparam, lparam, SMTO_ABORTIFHUNG, kLimit, &result);
    if (sent == 0) return std::nullopt;
    return static_cast<LRESULT>(result);
}

// Rounded down, as Winamp's own lengths are whole seconds cut from its time.
inline std::int32_t WholeSeconds(std::int32_t ms)
{
    return ms >= 0 ? ms / 1000 : -static_cast<std::int32_t>((-static_cast<std::int64_t>(ms) + 999) / 1000);
}

} // namespace morvane::win32players
