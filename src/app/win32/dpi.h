#pragma once

#include <windows.h>

namespace morvane::win32 {

// DPI queries that use the per-monitor functions of Windows 10 where they
// exist and the system DPI on older systems.

// Dots per inch of the monitor that holds `window`.
UINT DpiOf(HWND window);
// Dots per inch of the primary screen.
UINT ScreenDpi();
// AdjustWindowRectEx at `dpi`.
bool AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD ex_style, UINT dpi);
// The system's message font, sized for `dpi`.
bool MessageFont(LOGFONTW& font, UINT dpi);

} // namespace morvane::win32
