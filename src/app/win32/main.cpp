#include <windows.h>

#include <shellapi.h>

#include <string>

#include "app/win32/app.h"
#include "app/win32/system_ports.h"
#include "app/win32/user_keys.h"
#include "player/win32/desktop_players.h"

namespace {

int Fail(const std::wstring& reason)
{
    MessageBoxW(nullptr, reason.c_str(), L"Morvane", MB_ICONERROR | MB_OK);
    return 1;
}

// True when the program was started with `--keys`.
bool AskedForKeys()
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) return false;
    bool asked = false;
    for (int i = 1; i < count; ++i) asked = asked || std::wstring(arguments[i]) == L"--keys";
    LocalFree(arguments);
    return asked;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // A windowed program has no console to print to: the keys show in a box.
    if (AskedForKeys()) {
        MessageBoxW(nullptr, morvane::win32::KeysReport().c_str(), L"Morvane 按键", MB_ICONINFORMATION | MB_OK);
        return 0;
    }
    morvane::win32::AnsiCodePage code_page;
    morvane::win32players::DesktopPlayers players(code_page);
    const morvane::keys::KeysFile user_keys = morvane::win32::ReadUserKeys();
    morvane::win32::AsyncKeyboard hot_keys(user_keys.map);
    morvane::win32::App app(players.Chosen(), hot_keys);
    if (const std::wstring failure = app.Create(instance); !failure.empty()) return Fail(failure);
    std::wstring failure;
    if (!app.Start(failure)) return failure.empty() ? 0 : Fail(failure);
    if (!user_keys.problems.empty()) {
        MessageBoxW(app.Window().Handle(), morvane::win32::WideFromUtf8(user_keys.problems).c_str(), L"提示",
                    MB_ICONINFORMATION | MB_OK);
    }
    return app.Run();
}
