#pragma once

// Starting the programs under test in a known state. A start that fails is
// reported as a failed check and gives nullopt, so the test can stop there.

#include <windows.h>

#include <optional>
#include <string>

#include "harness.h"
#include "player_log.h"
#include "process.h"

namespace e2e {

inline constexpr wchar_t player_class[] = L"Winamp v1.x";

struct Standin {
    Process process;
    HWND window;
    Player_log log;
};

struct Morvane {
    Process process;
    HWND window;

    HWND control(int id) const { return GetDlgItem(window, id); }
};

// Starts the stand-in player with its log in the output folder and the given
// extra options (e.g. L"--state pause --position 5000").
std::optional<Standin> start_standin(Context& t, const std::wstring& options = L"");

// Starts morvane.exe and waits for its main window to show.
std::optional<Morvane> start_morvane(Context& t);

// The stand-in player with these options, then Morvane beside it: how most
// tests begin.
struct Session {
    Standin player;
    Morvane morvane;
};
std::optional<Session> start_session(Context& t, const std::wstring& player_options = L"");

// Starts morvane.exe without waiting for anything (start-up failure tests).
std::optional<Process> launch_morvane(Context& t);

// True when no window of the player's class is on the desktop.
bool no_player_running();

}  // namespace e2e
