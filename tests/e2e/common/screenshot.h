#pragma once

// A picture of a window as it is on the screen, for people to look at.

#include <windows.h>

#include <string>

namespace morvane::e2e {

// Saves the window's area of the screen as a 24-bit BMP file.
bool Save_Window_Bmp(HWND window, const std::wstring& path);

} // namespace morvane::e2e
