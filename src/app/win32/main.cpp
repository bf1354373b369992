#include <windows.h>

#include <string>

#include "app/win32/app.h"
#include "app/win32/system_ports.h"
#include "app/win32/user_keys.h"
#include "player/win32/winamp_link.h"

namespace {

int Fail(const std::wstring& reason)
{
    MessageBoxW(nullptr, reason.c_str(), L"Morvane", MB_ICONERROR | MB_OK);
    return 1;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    morvane::win32::Ansi_Code_Page code_page;
    morvane::winamp::Winamp_Link player(code_page);
    const morvane::keys::KeysFile user_keys = morvane::win32::ReadUserKeys();
    morvane::win32::Async_Keyboard hot_keys(user_keys.map);
    morvane::win32::App app(player, hot_keys);
    if (const std::wstring failure = app.Create(instance); !failure.empty()) return Fail(failure);
    std::wstring failure;
    if (!app.Start(failure)) return failure.empty() ? 0 : Fail(failure);
    if (!user_keys.problems.empty()) {
        MessageBoxW(app.Window().Handle(), morvane::win32::WideFromUtf8(user_keys.problems).c_str(), L"提示",
                    MB_ICONINFORMATION | MB_OK);
    }
    return app.Run();
}
