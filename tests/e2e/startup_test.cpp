// Start-up against a missing player, and the two ways the program ends.

#include <windows.h>

#include <string>
#include <vector>

#include "app/win32/control_ids.h"
#include "harness.h"
#include "message_box.h"
#include "sessions.h"
#include "window_access.h"

namespace {

constexpr wchar_t expected_text[] =
    L"Winamp没有运行或版本不对!\r\n请先打开Winamp并使用1.xx或2.xx版本";

std::string compare_lines(const std::wstring& shown)
{
    const std::wstring expected = expected_text;
    const auto split = [](const std::wstring& text) {
        std::vector<std::wstring> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
            lines.push_back(text.substr(start, end - start));
        lines.push_back(text.substr(start));
        return lines;
    };
    const auto got = split(shown);
    const auto want = split(expected);
    std::string detail = "shown " + e2e::quoted(shown);
    if (got.size() != want.size())
        return detail + ", " + std::to_string(got.size()) + " lines instead of 2";
    for (std::size_t i = 0; i < want.size(); ++i)
        if (got[i] != want[i])
            return detail + ", line " + std::to_string(i + 1) + " differs";
    return detail;
}

}  // namespace

E2E_TEST(startup_without_player)
{
    if (!t.check("no player window before the start", e2e::no_player_running(),
                 "a window of the player's class is already open"))
        return;
    auto morvane = e2e::launch_morvane(t);
    if (!morvane)
        return;

    // Watch for the main window the whole time: it must never show.
    bool main_window_seen = false;
    std::vector<HWND> boxes;
    const bool box_shown = e2e::poll_until(
        [&] {
            main_window_seen |= e2e::find_top_window(morvane->id(), MORVANE_MAIN_CLASS) != nullptr;
            boxes = e2e::top_windows(morvane->id(), L"#32770", true);
            return !boxes.empty() || !morvane->running();
        },
        20000);
    if (!t.check("a message box appears", box_shown && !boxes.empty(),
                 morvane->running() ? "no dialog within 20 s" : "the program ended without one"))
        return;
    // A second box would come right after the first; give it a moment.
    e2e::poll_until(
        [&] {
            main_window_seen |= e2e::find_top_window(morvane->id(), MORVANE_MAIN_CLASS) != nullptr;
            return false;
        },
        700);
    boxes = e2e::top_windows(morvane->id(), L"#32770", true);
    t.check("exactly one message box", boxes.size() == 1,
            std::to_string(boxes.size()) + " dialogs are open");

    const auto box = e2e::read_message_box(boxes.front());
    if (t.check("the message box can be read", box.has_value(), "no title or text static")) {
        t.check("message text, both lines in order", box->text == expected_text, compare_lines(box->text));
        t.check("message title 提示", box->title == L"提示", "title " + e2e::quoted(box->title));
        t.check("information icon", box->icon == e2e::Box_icon::information,
                std::string("icon is ") + e2e::icon_name(box->icon));
        t.check("a single button", box->buttons == 1, std::to_string(box->buttons) + " buttons");
    }

    e2e::press_ok(boxes.front());
    const bool ended = e2e::poll_until(
        [&] {
            main_window_seen |= e2e::find_top_window(morvane->id(), MORVANE_MAIN_CLASS) != nullptr;
            return !morvane->running();
        },
        5000);
    t.check("closing the message box ends the program", ended, "still running 5 s later");
    t.check("no Morvane window is shown", !main_window_seen, "a visible main window appeared");
}

E2E_TEST(exit_button)
{
    auto session = e2e::start_session(t);
    if (!session)
        return;
    auto& [player, morvane] = *session;
    const HWND end_button = morvane.control(IDC_END);
    const bool clicked = end_button != nullptr && e2e::post_click(end_button);
    t.check("退出 ends the program without asking", clicked && morvane.process.wait_exit(5000),
            clicked ? "still running 5 s later" : "no 退出 button");
}

E2E_TEST(close_window)
{
    auto session = e2e::start_session(t);
    if (!session)
        return;
    auto& [player, morvane] = *session;
    PostMessageW(morvane.window, WM_CLOSE, 0, 0);
    t.check("closing the window ends the program", morvane.process.wait_exit(5000),
            "still running 5 s later");
}
