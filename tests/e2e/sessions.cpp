#include "sessions.h"

#include "app/win32/control_ids.h"
#include "window_access.h"

namespace e2e {

namespace {

// Starting a program under Wine can take a few seconds on a slow machine.
constexpr DWORD start_timeout_ms = 20000;

}  // namespace

std::optional<Standin> start_standin(Context& t, const std::wstring& options)
{
    // Test names are ASCII identifiers.
    const std::wstring name(t.test_name.begin(), t.test_name.end());
    const std::wstring log_path = t.out(name + L"-player.log");
    DeleteFileW(log_path.c_str());
    std::wstring args = L"--log " + quote_arg(log_path);
    if (!options.empty())
        args += L" " + options;

    auto process = Process::start(t.bin(L"standin-player.exe"), args);
    if (!process) {
        t.check(t.test_name + ": stand-in player starts", false,
                "CreateProcess failed, error " + std::to_string(GetLastError()));
        return std::nullopt;
    }
    HWND window = nullptr;
    poll_until(
        [&] {
            window = find_top_window(process->id(), player_class);
            return window != nullptr || !process->running();
        },
        start_timeout_ms);
    if (window == nullptr) {
        const auto code = process->exit_code();
        t.check(t.test_name + ": stand-in player starts", false,
                code ? "it ended with exit code " + std::to_string(*code) : "its window did not appear");
        return std::nullopt;
    }
    return Standin{std::move(*process), window, Player_log(log_path)};
}

std::optional<Process> launch_morvane(Context& t)
{
    auto process = Process::start(t.bin(L"morvane.exe"), L"");
    if (!process)
        t.check(t.test_name + ": morvane.exe starts", false,
                "CreateProcess failed, error " + std::to_string(GetLastError()));
    return process;
}

std::optional<Morvane> start_morvane(Context& t)
{
    auto process = launch_morvane(t);
    if (!process)
        return std::nullopt;
    HWND window = nullptr;
    poll_until(
        [&] {
            window = find_top_window(process->id(), MORVANE_MAIN_CLASS);
            return window != nullptr || !process->running();
        },
        start_timeout_ms);
    if (window == nullptr) {
        t.check(t.test_name + ": Morvane's window shows", false,
                process->running() ? "no visible window of its class" : "the program ended");
        return std::nullopt;
    }
    return Morvane{std::move(*process), window};
}

std::optional<Session> start_session(Context& t, const std::wstring& player_options)
{
    auto player = start_standin(t, player_options);
    if (!player)
        return std::nullopt;
    auto morvane = start_morvane(t);
    if (!morvane)
        return std::nullopt;
    return Session{std::move(*player), std::move(*morvane)};
}

bool no_player_running()
{
    return FindWindowW(player_class, nullptr) == nullptr;
}

}  // namespace e2e
