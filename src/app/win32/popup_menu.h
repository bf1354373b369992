#pragma once

#include <windows.h>

#include <vector>

#include "app/ports/menu.h"

namespace morvane::win32 {

// Shows `items` as a popup menu owned by `owner`, its corner at `at` (screen
// coordinates), and waits for the choice as a message box does: the owner's
// timer keeps ticking meanwhile. Returns the chosen item's id; 0 when the
// menu was closed without a choice or could not be made.
int TrackMenu(HWND owner, POINT at, const std::vector<MenuItem>& items);

} // namespace morvane::win32
