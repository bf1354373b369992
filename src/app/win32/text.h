#pragma once

#include <windows.h>

#include <string>

namespace morvane::win32 {

// On Windows wchar_t is one UTF-16 code unit, so text passes to the W
// functions unchanged.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

inline std::u16string FromWide(const wchar_t* text, std::size_t length)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

// The whole text of a window or control.
std::u16string WindowText(HWND window);

} // namespace morvane::win32
