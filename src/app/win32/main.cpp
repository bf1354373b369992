#include <windows.h>

#include <string>

#include "app/win32/app.h"
#include "app/win32/system_ports.h"
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
    morvane::win32::Async_Keyboard hot_keys;
    morvane::win32::App app(player, hot_keys);
    if (const std::wstring failure = app.Create(instance); !failure.empty()) return Fail(failure);
    std::wstring failure;
    if (!app.Start(failure)) return failure.empty() ? 0 : Fail(failure);
    return app.Run();
}
