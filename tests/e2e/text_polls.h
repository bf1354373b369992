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

}  // namespace e2e
