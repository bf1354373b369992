// The main window's face: every control in its place with its caption, at 96 DPI.

#include <windows.h>

#include <cstdlib>
#include <iterator>
#include <string>

#include "app/win32/control_ids.h"
#include "harness.h"
#include "screenshot.h"
#include "sessions.h"
#include "window_access.h"

namespace {

enum class Kind { frame, button, check_box, text_box, read_out, list_box, scroll_bar };

struct Expected {
    const char* name;
    int id;
    Kind kind;
    const wchar_t* caption;  // null: not compared (text boxes, list, scroll bar)
    int left, top, width, height;  // pixels in the client area, frame offsets added
};

// The stored layout worked out by hand at 96 DPI (15 twips a pixel), each
// control inside a frame moved by its frame's place.
constexpr Expected expected_controls[] = {
    {"Frame1", IDC_MARKS_FRAME, Kind::frame, L"", 8, 0, 393, 137},
    {"List1", IDC_MARK_LIST, Kind::list_box, nullptr, 16, 16, 284, 112},
    {"Command3", IDC_DELETE, Kind::button, L"删除", 304, 16, 41, 17},
    {"Command9", IDC_EDIT_NOTE, Kind::button, L"修改", 304, 40, 41, 18},
    {"C_up", IDC_MOVE_UP, Kind::button, L"↑", 304, 64, 41, 17},
    {"C_down", IDC_MOVE_DOWN, Kind::button, L"↓", 304, 88, 41, 17},
    {"Text1", IDC_COUNT_LINE, Kind::text_box, nullptr, 304, 112, 41, 18},
    {"C_clear", IDC_CLEAR, Kind::button, L"清除", 352, 16, 41, 17},
    {"C_sort", IDC_SORT, Kind::button, L"排序", 352, 40, 41, 17},
    {"C_Load", IDC_LOAD, Kind::button, L"读取", 352, 64, 41, 17},
    {"C_Save", IDC_SAVE, Kind::button, L"保存", 352, 88, 41, 17},
    {"C_end", IDC_END, Kind::button, L"退出", 352, 112, 41, 17},
    {"Text2", IDC_STATE_LINE, Kind::read_out, nullptr, 8, 144, 153, 17},
    {"Text3", IDC_TIME_LINE, Kind::read_out, nullptr, 168, 144, 233, 17},
    {"Frame2", IDC_PLAYER_FRAME, Kind::frame, L"Winamp控制区", 8, 168, 215, 40},
    {"C_Pre", IDC_PREVIOUS, Kind::button, L"前首", 16, 184, 37, 17},
    {"C_Play", IDC_PLAY, Kind::button, L"播放", 56, 184, 37, 17},
    {"C_pause", IDC_PAUSE, Kind::button, L"暂停", 96, 184, 37, 17},
    {"C_stop", IDC_STOP, Kind::button, L"停止", 136, 184, 36, 17},
    {"C_next", IDC_NEXT, Kind::button, L"下首", 176, 184, 38, 17},
    {"Frame3", IDC_REPEAT_FRAME, Kind::frame, L"精确复读区", 8, 216, 217, 65},
    {"Command1", IDC_BACK, Kind::button, L"快退", 16, 232, 41, 17},
    {"Command2", IDC_FORWARD, Kind::button, L"快进", 60, 232, 41, 17},
    {"Command4", IDC_MARK, Kind::button, L"定位", 128, 232, 41, 17},
    {"Command5", IDC_REPEAT, Kind::button, L"复读", 176, 232, 41, 17},
    {"Text4", IDC_MARK_LINE, Kind::read_out, nullptr, 16, 256, 201, 17},
    {"Frame4", IDC_RECORD_FRAME, Kind::frame, L"精确记录区", 232, 168, 169, 113},
    {"h1", IDC_SEEK_BAR, Kind::scroll_bar, nullptr, 240, 184, 153, 17},
    {"Text5", IDC_SEEK_TIME, Kind::text_box, nullptr, 240, 208, 113, 17},
    {"Command6", IDC_JUMP, Kind::button, L"Jump", 360, 208, 33, 17},
    {"Command7", IDC_RECORD, Kind::button, L"记录", 240, 232, 41, 41},
    {"c1", IDC_ASK_NOTE, Kind::check_box, L"记录时填写注释", 288, 232, 105, 20},
    {"c2", IDC_PAUSE_FOR_NOTE, Kind::check_box, L"记录时暂停播放", 288, 248, 105, 25},
};

static_assert(std::size(expected_controls) == 33);

// The Win32 class and button type that make a control of each kind.
std::string kind_mismatch(HWND control, Kind kind)
{
    const std::wstring cls = e2e::class_of(control);
    const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    switch (kind) {
    case Kind::frame:
        if (cls == L"Button" && type == BS_GROUPBOX)
            return {};
        break;
    case Kind::button:
        if (cls == L"Button" && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW))
            return {};
        break;
    case Kind::check_box:
        if (cls == L"Button" && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX))
            return {};
        break;
    case Kind::text_box:
        if (cls == L"Edit")
            return {};
        break;
    case Kind::read_out:
        // Looks like a text box; only the tick writes it.
        if (cls == L"Static" && (GetWindowLongW(control, GWL_STYLE) & WS_BORDER) != 0)
            return {};
        break;
    case Kind::list_box:
        if (cls == L"ListBox")
            return {};
        break;
    case Kind::scroll_bar:
        if (cls == L"ScrollBar" && (GetWindowLongW(control, GWL_STYLE) & SBS_VERT) == 0)
            return {};
        break;
    }
    return "class " + e2e::utf8(cls) + " type " + std::to_string(type);
}

std::string rect_text(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left)
           + "x" + std::to_string(r.bottom - r.top);
}

void check_control(e2e::Context& t, HWND main, const Expected& want)
{
    const std::string name = std::string("control ") + want.name;
    const HWND control = GetDlgItem(main, want.id);
    if (control == nullptr || !IsWindowVisible(control)) {
        t.check(name, false, control ? "not visible" : "missing");
        return;
    }

    std::string problems;
    const auto add = [&](const std::string& problem) {
        problems += (problems.empty() ? "" : "; ") + problem;
    };
    if (const std::string kind = kind_mismatch(control, want.kind); !kind.empty())
        add(kind);
    if (want.caption != nullptr) {
        const auto caption = e2e::text_of(control);
        if (!caption)
            add("caption unreadable");
        else if (*caption != want.caption)
            add("caption " + e2e::quoted(*caption) + " instead of " + e2e::quoted(want.caption));
    }
    const RECT got = e2e::rect_in_client(control, main);
    const RECT expected{want.left, want.top, want.left + want.width, want.top + want.height};
    if (std::abs(got.left - expected.left) > 1 || std::abs(got.top - expected.top) > 1
        || std::abs(got.right - expected.right) > 1 || std::abs(got.bottom - expected.bottom) > 1)
        add("at " + rect_text(got) + " instead of " + rect_text(expected));
    t.check(name, problems.empty(), problems);
}

}  // namespace

E2E_TEST(window_layout)
{
    auto session = e2e::start_session(t, L"--state play");
    if (!session)
        return;
    auto& [player, morvane] = *session;
    const HWND main = morvane.window;

    const SIZE client = e2e::client_size(main);
    t.check("client area 408 x 284", client.cx == 408 && client.cy == 284,
            std::to_string(client.cx) + " x " + std::to_string(client.cy));
    const LONG style = GetWindowLongW(main, GWL_STYLE);
    t.check("window neither resizable nor maximisable", (style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) == 0,
            "style " + std::to_string(style));

    for (const Expected& want : expected_controls)
        check_control(t, main, want);

    const HWND clear = morvane.control(IDC_CLEAR);
    const HWND focus = e2e::focus_in_thread_of(main);
    t.check("initial focus on 清除", focus != nullptr && focus == clear,
            focus ? "focus on control " + std::to_string(GetDlgCtrlID(focus)) : "no focus");

    const auto count = e2e::text_of(morvane.control(IDC_COUNT_LINE));
    t.check("entry count shows 0", count && *count == L"0", count ? e2e::quoted(*count) : "unreadable");

    // Let a few ticks fill the read-outs from the playing player, then keep a picture.
    e2e::poll_until([&] { const auto c = e2e::text_of(main); return c && *c != L"Morvane"; }, 3000);
    Sleep(300);
    t.check("screenshot of the window saved", e2e::save_window_bmp(main, t.out(L"morvane.bmp")),
            "could not copy the screen into out\\morvane.bmp");
}
