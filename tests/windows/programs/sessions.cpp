#include "sessions.h"

#include "app/win32/control_ids.h"
#include "remote_window.h"
#include "standin_protocol.h"

namespace morvane::e2e {
namespace {

// Starting a program under Wine can take a few seconds on a slow machine.
constexpr DWORD kStartTimeoutMs = 20000;

// Waits for the process's window of that class; null when it ended or none came.
HWND WaitForWindow(const Process& process, const wchar_t* class_name)
{
    HWND window = nullptr;
    PollUntil(
        [&] {
            const auto found = TopWindows(process.Id(), class_name);
            window = found.empty() ? nullptr : found.front();
            return window != nullptr || !process.Running();
        },
        kStartTimeoutMs);
    return window;
}

} // namespace

std::optional<Standin> StartStandin(const std::wstring& log_path, const std::wstring& options, std::string& failure,
                                    const PlayerKind& kind)
{
    DeleteFileW(log_path.c_str());
    auto process = Process::Start(BesideThisProgram(L"standin-player.exe"), L"--as " + kind.option + L" --log " +
                                                                                Quoted(log_path) +
                                                                                (options.empty() ? L"" : L" " + options));
    const HWND window = process ? WaitForWindow(*process, kind.window_class.c_str()) : nullptr;
    if (window != nullptr) return Standin{std::move(*process), window, PlayerLog(log_path, kind)};
    failure = process ? "the stand-in player's window does not show" : "the stand-in player does not start";
    return std::nullopt;
}

std::optional<Process> LaunchMorvane(std::string& failure, const std::wstring& arguments)
{
    auto process = Process::Start(BesideThisProgram(L"morvane.exe"), arguments);
    if (!process) failure = "morvane.exe does not start, error " + std::to_string(GetLastError());
    return process;
}

std::optional<Morvane> StartMorvane(std::string& failure, const std::wstring& arguments)
{
    auto process = LaunchMorvane(failure, arguments);
    const HWND window = process ? WaitForWindow(*process, MORVANE_MAIN_CLASS) : nullptr;
    if (window != nullptr) return Morvane{std::move(*process), window};
    if (process) failure = process->Running() ? "Morvane's window does not show" : "Morvane ended";
    return std::nullopt;
}

bool NoPlayerRunning()
{
    for (const wchar_t* window_class : {win32players::kWinampClass, win32players::kPotPlayer64Class, win32players::kPotPlayer32Class,
                                     win32players::kAimpRemoteClass})
        if (FindWindowW(window_class, nullptr) != nullptr) return false;
    return true;
}

std::optional<int> StandinState(HWND player, UINT timeout_ms)
{
    const auto state = Send(player, STANDIN_GET_STATE, 0, 0, timeout_ms);
    return state ? std::optional<int>(static_cast<int>(*state)) : std::nullopt;
}

std::optional<int> StandinPositionMs(HWND player)
{
    const auto position = Send(player, STANDIN_GET_POSITION_MS);
    return position ? std::optional<int>(static_cast<int>(*position)) : std::nullopt;
}

} // namespace morvane::e2e
