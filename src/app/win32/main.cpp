#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/form1.h"
#include "app/win32/control_ids.h"
#include "app/win32/controls.h"
#include "app/win32/main_window.h"
#include "app/win32/system_ports.h"
#include "app/win32/user_keys.h"
#include "app/win32/window_port.h"
#include "player/win32/winamp_link.h"

namespace {

// Keeps the window's events away from Form1 once Form1 is gone.
class Attachment {
public:
    Attachment(morvane::win32::Main_Window& window, morvane::Form1& form) : window_(window) { window_.Attach(&form); }
    ~Attachment() { window_.Attach(nullptr); }
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

private:
    morvane::win32::Main_Window& window_;
};

int Fail(const std::wstring& reason)
{
    MessageBoxW(nullptr, reason.c_str(), L"Morvane", MB_ICONERROR | MB_OK);
    return 1;
}

int Run(HINSTANCE instance)
{
    using namespace morvane;
    using namespace morvane::win32;

    INITCOMMONCONTROLSEX common{sizeof(common), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    if (InitCommonControlsEx(&common) == FALSE) return Fail(L"无法初始化公共控件");

    Main_Window window;
    if (const std::wstring failure = window.Create(instance); !failure.empty()) return Fail(failure);

    Ansi_Code_Page code_page;
    Window_Adapter window_port(window, code_page);
    Window_Controls controls(window);
    Window_Timer poll_clock(window.Handle(), kTimer1Id);
    morvane::winamp::Winamp_Link player(code_page);
    const keys::KeysFile user_keys = ReadUserKeys();
    Async_Keyboard hot_keys(user_keys.map);
    Disk_Files files;

    Form1 form(Form1_Parts(controls, Services{window_port, poll_clock, player, hot_keys, code_page, files,
                                              mark_file::Encoding::Ansi}));
    Attachment attachment(window, form);
    if (!form.Form_Load()) return 0;  // no player: the message has been shown

    window.Show();
    if (!user_keys.problems.empty())
        MessageBoxW(window.Handle(), WideFromUtf8(user_keys.problems).c_str(), L"提示", MB_ICONINFORMATION | MB_OK);
    if (!form.Window_Shown()) return Fail(L"无法启动定时器");

    MSG msg{};
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) break;
        if (got == -1) return 1;
        if (!IsDialogMessageW(window.Handle(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return Run(instance); }
