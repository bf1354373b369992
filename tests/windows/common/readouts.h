#pragma once

// Texts Morvane shows: the state line, and for times a short time
// "[mmm:ss]", a stamp "[mmm:ss:mmm]" and the mark line (non-negative values).

#include <cwchar>
#include <string>

namespace morvane::e2e {

inline constexpr wchar_t kPlaying[] = L"Winamp处于播放状态......";
inline constexpr wchar_t kPaused[] = L"Winamp处于暂停状态......";
inline constexpr wchar_t kStopped[] = L"Winamp处于停止状态......";

inline std::wstring ShortTime(int seconds)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"[%03d:%02d]", seconds / 60, seconds % 60);
    return text;
}

inline std::wstring Stamp(int ms)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"[%03d:%02d:%03d]", ms / 60000, ms / 1000 % 60, ms % 1000);
    return text;
}

// The mark stands at 0 until the first 定位.
inline std::wstring MarkLine(int mark_ms, int position_ms) { return Stamp(mark_ms) + L"<==>" + Stamp(position_ms); }

} // namespace morvane::e2e
