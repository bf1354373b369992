#pragma once

// Starting the stand-in player and Morvane beside this program. A start that
// fails gives nullopt and says why in `failure`.

#include <windows.h>

#include <optional>
#include <string>

#include "player/win32/window_classes.h"
#include "player_log.h"
#include "process.h"

namespace morvane::e2e {


struct Standin {
    Process process;
    HWND window;
    PlayerLog log;
};

struct Morvane {
    Process process;
    HWND window;

    HWND Control(int id) const { return GetDlgItem(window, id); }
};

// The stand-in player logging to log_path, with extra options such as
// L"--state pause --position 5000", answering as `kind`.
std::optional<Standin> StartStandin(const std::wstring& log_path, const std::wstring& options, std::string& failure,
                                    const PlayerKind& kind = WinampKind());

// morvane.exe with these arguments, not waiting for anything (for start-up failures).
std::optional<Process> LaunchMorvane(std::string& failure, const std::wstring& arguments = L"");
// morvane.exe, once its main window shows.
std::optional<Morvane> StartMorvane(std::string& failure, const std::wstring& arguments = L"");

// No window of any player that Morvane looks for.
bool NoPlayerRunning();

// The stand-in's state through its private messages; nullopt when it does not answer.
std::optional<int> StandinState(HWND player, UINT timeout_ms = 500);
std::optional<int> StandinPositionMs(HWND player);

} // namespace morvane::e2e
