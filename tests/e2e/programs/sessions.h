#pragma once

// Starting the stand-in player and Morvane beside this program. A start that
// fails gives nullopt and says why in `failure`.

#include <windows.h>

#include <optional>
#include <string>

#include "player_log.h"
#include "process.h"

namespace morvane::e2e {

inline constexpr wchar_t kPlayerClass[] = L"Winamp v1.x";

struct Standin {
    Process process;
    HWND window;
    Player_Log log;
};

struct Morvane {
    Process process;
    HWND window;

    HWND Control(int id) const { return GetDlgItem(window, id); }
};

// The stand-in player logging to log_path, with extra options such as
// L"--state pause --position 5000".
std::optional<Standin> Start_Standin(const std::wstring& log_path, const std::wstring& options, std::string& failure);

// morvane.exe, not waiting for anything (for start-up failures).
std::optional<Process> Launch_Morvane(std::string& failure);
// morvane.exe, once its main window shows.
std::optional<Morvane> Start_Morvane(std::string& failure);

bool No_Player_Running();

// The stand-in's state through its private messages; nullopt when it does not answer.
std::optional<int> Standin_State(HWND player, UINT timeout_ms = 500);
std::optional<int> Standin_Position_Ms(HWND player);

} // namespace morvane::e2e
