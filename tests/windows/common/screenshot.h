#pragma once

#include <windows.h>

#include <string>

namespace morvane::e2e {

// Saves the window's area of the screen as a 24-bit BMP file, for people to look at.
bool SaveWindowBmp(HWND window, const std::wstring& path);

} // namespace morvane::e2e
