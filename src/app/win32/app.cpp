#include "app/win32/app.h"

#include <commctrl.h>

#include "app/ports/ports.h"
#include "app/win32/control_ids.h"
#include "app/win32/controls.h"
#include "app/win32/system_ports.h"
#include "app/win32/text.h"
#include "app/win32/window_port.h"

namespace morvane::win32 {

struct App::Parts {
    Parts(MainWindow& window, Player& player, const std::u16string& config_folder, const std::u16string& data_folder,
          const KeySource& open_keys)
        : window_port(window, code_page),
          controls(window),
          poll_clock(window.Handle(), kTimer1Id),
          program(FrontEnd{Ports{controls, window_port, poll_clock, player, code_page, files, mark_file::Encoding::Ansi,
                                 data_folder},
                           config_folder, open_keys})
    {
    }

    AnsiCodePage code_page;
    DiskFiles files;
    WindowAdapter window_port;
    WindowControls controls;
    PollTimer poll_clock;
    Program program;
};

App::App(Player& player, std::u16string config_folder, std::u16string data_folder, KeySource open_keys)
    : player_(player),
      config_folder_(std::move(config_folder)),
      data_folder_(std::move(data_folder)),
      open_keys_(std::move(open_keys))
{
}

App::App(Player& player, HotKeys& hot_keys)
    : App(player, {}, {}, [&hot_keys](const keys::KeyMap&) -> HotKeys& { return hot_keys; })
{
}

// Keeps the window's events away from MainForm once MainForm is gone.
App::~App() { window_.Attach(nullptr); }

std::wstring App::Create(HINSTANCE instance)
{
    INITCOMMONCONTROLSEX common{sizeof(common), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    if (InitCommonControlsEx(&common) == FALSE) return L"无法初始化公共控件";
    registration_.instance = instance;
    if (std::wstring failure = window_.Create(instance); !failure.empty()) return failure;
    parts_ = std::make_unique<Parts>(window_, player_, config_folder_, data_folder_, open_keys_);
    window_.Attach(&parts_->program.Form());
    return {};
}

bool App::Start(std::wstring& failure)
{
    failure.clear();
    const Program::Started started = parts_->program.Start([this] { window_.Show(); }, [this](const std::u16string& text) {
        MessageBoxW(window_.Handle(), Wide(text), L"提示", MB_ICONINFORMATION | MB_OK);
    });
    if (started == Program::Started::NoTimer) failure = L"无法启动定时器";
    return started == Program::Started::Running;
}

int App::Run()
{
    MSG msg{};
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) break;
        if (got == -1) return 1;
        if (!IsDialogMessageW(window_.Handle(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

App::ClassRegistration::~ClassRegistration()
{
    if (instance != nullptr) UnregisterClassW(MORVANE_MAIN_CLASS, instance);
}

MainForm& App::Form() { return parts_->program.Form(); }

} // namespace morvane::win32
