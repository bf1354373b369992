#pragma once

// Steps of using Morvane's mark list from outside, shared by the tests and
// the demo: reading the list, selecting as the user does, recording with
// or without a note, and waiting for the stand-in player's clock.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Every entry of the list, in order; nullopt when a read failed.
std::optional<std::vector<std::wstring>> list_entries(HWND list);

// The entries one to a line, for failure details.
std::string shown_entries(const std::optional<std::vector<std::wstring>>& entries);

// Selects an entry with the list's own arrow-key handling, so the list
// tells its window, as it does when the user moves the selection.
bool select_entry(HWND list, int index);

// Ticks or unticks a check box by clicking it, as the user does.
bool set_check(HWND box, bool ticked);

// Waits for the stand-in player to report this position (its clock runs
// only while it plays).
bool wait_for_position(HWND player, int ms, DWORD timeout_ms = 5000);

// 记录 in Morvane's window `main`; with a note, ask_note must be ticked and the
// note is typed into the prompt, without one ask_note must be unticked. Waits for the new entry. Gives the empty
// text on success, otherwise what went wrong.
std::string record_mark(HWND main, const std::optional<std::wstring>& note);

}  // namespace e2e
