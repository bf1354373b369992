#pragma once

// The demo of a headless scripts/run: a short run of use driven in the
// stand-in player and Morvane that are already on the screen.

#include <string>

namespace e2e {

// Plays, records three marks (one with a note typed into the prompt),
// sorts and saves the list as marks.txt in out_dir through the save dialog.
// Also writes area.txt there: the geometry (WxH+X+Y) of the two windows
// together, for cropping a screenshot. Prints each step; 0 on success.
int run_demo(const std::wstring& out_dir);

}  // namespace e2e
