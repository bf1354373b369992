#pragma once

// Waiting for a control of another process to show a text.

#include <windows.h>

#include <optional>
#include <string>

#include "harness.h"
#include "window_access.h"

namespace e2e {

// The state line for each player state.
inline constexpr wchar_t playing_line[] = L"Winamp处于播放状态......";
inline constexpr wchar_t paused_line[] = L"Winamp处于暂停状态......";
inline constexpr wchar_t stopped_line[] = L"Winamp处于停止状态......";

// Polls the control's text until accept(text) holds; `seen` keeps the last
// text read, for a failure detail.
template <class Accept>
bool text_until(HWND control, Accept accept, std::wstring& seen, DWORD timeout_ms = 5000)
{
    return poll_until(
        [&] {
            const auto text = text_of(control);
            seen = text ? *text : L"(no answer)";
            return text && accept(*text);
        },
        timeout_ms);
}

inline bool shows(HWND control, const std::wstring& want, std::wstring& seen, DWORD timeout_ms = 5000)
{
    return text_until(
        control, [&](const std::wstring& text) { return text == want; }, seen, timeout_ms);
}

// The whole seconds of the short time text "[mmm:ss]" that starts at `at`;
// nullopt when no such text starts there.
inline std::optional<int> seconds_in(const std::wstring& text, std::size_t at)
{
    int minutes = 0;
    int seconds = 0;
    int* field = &minutes;
    if (at >= text.size() || text[at] != L'[')
        return std::nullopt;
    for (std::size_t i = at + 1; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c >= L'0' && c <= L'9')
            *field = *field * 10 + (c - L'0');
        else if (c == L':' && field == &minutes && i > at + 1)
            field = &seconds;
        else if (c == L']' && field == &seconds)
            return minutes * 60 + seconds;
        else
            return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace e2e
