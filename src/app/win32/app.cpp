#include "app/win32/app.h"

#include <commctrl.h>

#include "app/win32/control_ids.h"
#include "app/win32/controls.h"
#include "app/win32/system_ports.h"
#include "app/win32/window_port.h"

namespace morvane::win32 {

struct App::Parts {
    Parts(Main_Window& window, Player& player, Keyboard& keyboard)
        : window_port(window, code_page),
          list(window, window.Control(IDC_MARK_LIST), window.Tooltip()),
          text1(window.Control(IDC_COUNT_LINE)),
          text2(window.Control(IDC_STATE_LINE)),
          text3(window.Control(IDC_TIME_LINE)),
          text4(window.Control(IDC_MARK_LINE)),
          text5(window.Control(IDC_SEEK_TIME)),
          seek_bar(window.Control(IDC_SEEK_BAR)),
          ask_note(window.Control(IDC_ASK_NOTE)),
          pause_for_note(window.Control(IDC_PAUSE_FOR_NOTE)),
          timer1(window.Handle(), kTimer1Id),
          form(Form1Parts{window_port, list, text1, text2, text3, text4, text5, seek_bar, ask_note, pause_for_note, timer1, player, keyboard,
                          code_page, files})
    {
    }

    Ansi_Code_Page code_page;
    Disk_Files files;
    Window_Adapter window_port;
    List_Box list;
    Text_Box text1, text2, text3, text4, text5;
    Scroll_Bar seek_bar;
    Check_Box ask_note, pause_for_note;
    Window_Timer timer1;
    Form1 form;
};

App::App(Player& player, Keyboard& keyboard) : player_(player), keyboard_(keyboard) {}

// Keeps the window's events away from Form1 once Form1 is gone.
App::~App() { window_.Attach(nullptr); }

std::wstring App::Create(HINSTANCE instance)
{
    INITCOMMONCONTROLSEX common{sizeof(common), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    if (InitCommonControlsEx(&common) == FALSE) return L"无法初始化公共控件";
    registration_.instance = instance;
    if (std::wstring failure = window_.Create(instance); !failure.empty()) return failure;
    parts_ = std::make_unique<Parts>(window_, player_, keyboard_);
    window_.Attach(&parts_->form);
    return {};
}

bool App::Start(std::wstring& failure)
{
    failure.clear();
    if (!parts_->form.Form_Load()) return false;
    window_.Show();
    if (!parts_->timer1.Go_Live()) {
        failure = L"无法启动定时器";
        return false;
    }
    return true;
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

App::Class_Registration::~Class_Registration()
{
    if (instance != nullptr) UnregisterClassW(MORVANE_MAIN_CLASS, instance);
}

Form1& App::Form() { return parts_->form; }

} // namespace morvane::win32
