// The global keys: pressed while another program has the focus, each runs
// its button's handler once per press. And P typed into the list reaches the
// player twice, once as the list's key and once as the global key.

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/win32/control_ids.h"
#include "harness.h"
#include "player_checks.h"
#include "real_input.h"
#include "sessions.h"
#include "text_polls.h"
#include "window_access.h"

namespace {

constexpr int start_ms = 10000;

class Key_checks {
public:
    Key_checks(e2e::Context& t, e2e::Standin& player, e2e::Morvane& morvane)
        : t_(t), player_(player), morvane_(morvane)
    {
    }

    // The key sends exactly one command, the expected one.
    void sends(const std::string& name, WORD key, const std::string& expected, DWORD hold_ms = e2e::key_hold_ms)
    {
        const std::size_t mark = player_.log.mark();
        std::vector<std::string> seen;
        t_.check(name, e2e::tap_key(key, hold_ms) && e2e::sent_exactly(player_.log, mark, expected, seen),
                 [&] { return "expected \"" + expected + "\", the player received " + e2e::joined(seen); });
    }

    // The key jumps, and the player gets there before the next key.
    void jumps(const std::string& name, WORD key, int target_ms)
    {
        sends(name, key, e2e::jump_line(target_ms));
        t_.check(name + ": the player is there", e2e::standin_reaches(player_.window, target_ms), [&] {
            return "the stand-in reports "
                   + std::to_string(e2e::standin_position_ms(player_.window).value_or(-1));
        });
    }

    // 定位: two position queries in one tick, no command, the mark in mark_line.
    void marks(const std::string& name, WORD key, int at_ms)
    {
        const std::size_t mark = player_.log.mark();
        std::string detail;
        std::vector<std::string> seen;
        std::wstring shown;
        const bool pressed = e2e::tap_key(key);
        t_.check(name + ": two position queries",
                 pressed && e2e::one_tick_with_extra_queries(player_.log, mark, 2, detail),
                 [&] { return detail; });
        t_.check(name + ": no command", e2e::sent_nothing(player_.log, mark, seen),
                 [&] { return "the player received " + e2e::joined(seen); });
        t_.check(
            name + ": mark_line shows the mark",
            e2e::shows(morvane_.control(IDC_MARK_LINE), e2e::mark_line(at_ms, at_ms), shown),
            [&] { return "mark_line shows " + e2e::quoted(shown); });
    }

private:
    e2e::Context& t_;
    e2e::Standin& player_;
    e2e::Morvane& morvane_;
};

// The player paused at start_ms and Morvane's tick showing it; nullopt
// (after a failed check) otherwise.
std::optional<e2e::Session> ticking_session(e2e::Context& t)
{
    auto session = e2e::start_session(t, L"--state pause --position " + std::to_wstring(start_ms));
    std::wstring seen;
    if (session && !t.check("the tick runs",
                            e2e::shows(session->morvane.control(IDC_MARK_LINE), e2e::mark_line(0, start_ms), seen),
                            [&] { return "mark_line shows " + e2e::quoted(seen); }))
        return std::nullopt;
    return session;
}

}  // namespace

E2E_TEST(hot_keys)
{
    auto session = ticking_session(t);
    if (!session)
        return;
    auto& [player, morvane] = *session;
    std::wstring seen;
    if (!t.check("the stand-in player has the focus", e2e::to_foreground(player.window),
                 "the foreground window is another one"))
        return;
    e2e::let_input_settle();

    Key_checks keys(t, player, morvane);
    // The seek keys first, while the player is paused and every target exact.
    keys.marks("left Ctrl sets the mark at 10000 ms", VK_LCONTROL, 10000);
    keys.jumps("comma steps back to 8000 ms", VK_OEM_COMMA, 8000);
    keys.jumps("left Shift repeats from the mark, 10000 ms", VK_LSHIFT, 10000);
    keys.jumps("full stop steps forward to 12000 ms", VK_OEM_PERIOD, 12000);
    keys.marks("right Ctrl sets the mark at 12000 ms", VK_RCONTROL, 12000);
    keys.jumps("comma steps back to 10000 ms", VK_OEM_COMMA, 10000);
    keys.jumps("right Shift repeats from the mark, 12000 ms", VK_RSHIFT, 12000);
    keys.jumps("comma steps back to 10000 ms again", VK_OEM_COMMA, 10000);
    keys.marks("Ctrl (generic code) sets the mark at 10000 ms", VK_CONTROL, 10000);
    keys.jumps("full stop steps forward to 12000 ms again", VK_OEM_PERIOD, 12000);
    keys.jumps("Shift (generic code) repeats from the mark, 10000 ms", VK_SHIFT, 10000);

    // Keypad 0 records the position, asking nothing (ask_note is unticked).
    const HWND list = morvane.control(IDC_MARK_LIST);
    const std::size_t mark = player.log.mark();
    std::vector<std::string> sent;
    std::string detail;
    const bool recorded =
        e2e::tap_key(VK_NUMPAD0) && e2e::poll_until([&] { return e2e::list_count(list) == 1; });
    t.check("keypad 0 records one entry [000:10:000]",
            recorded && e2e::one_tick_with_extra_queries(player.log, mark, 1, detail)
                && e2e::list_count(list) == 1
                && e2e::list_text(list, 0) == std::optional<std::wstring>(e2e::stamp(10000)),
            [&] {
                return "entries " + std::to_string(e2e::list_count(list).value_or(-1)) + ", first "
                       + e2e::quoted(e2e::list_text(list, 0).value_or(L"(none)")) + "; " + detail;
            });
    t.check("keypad 0: count_line shows 1", e2e::shows(morvane.control(IDC_COUNT_LINE), L"1", seen),
            [&] { return "count_line shows " + e2e::quoted(seen); });
    t.check("keypad 0: no command", e2e::sent_nothing(player.log, mark, sent),
            [&] { return "the player received " + e2e::joined(sent); });

    keys.sends("H pauses (the paused player plays on)", 'H', "273 40046 0");
    keys.sends("P plays", 'P', "273 40045 0");
    keys.sends("S stops", 'S', "273 40047 0");
    keys.sends("U goes to the previous track", 'U', "273 40044 0");
    keys.sends("N goes to the next track", 'N', "273 40048 0");
    keys.sends("N held for 600 ms skips exactly one track", 'N', "273 40048 0", 600);

    t.check("the stand-in player kept the focus throughout", GetForegroundWindow() == player.window,
            "the foreground window changed");
}

// Shift+P with the list focused: the Shift hot key repeats from the mark
// (0 ms, none set) once, then P plays twice, as the list's key and as the
// global key.
E2E_TEST(list_key_and_hot_key)
{
    auto session = ticking_session(t);
    if (!session)
        return;
    auto& [player, morvane] = *session;
    const HWND list = morvane.control(IDC_MARK_LIST);
    const SIZE size = e2e::client_size(list);
    const bool focused = e2e::to_foreground(morvane.window)
                         && e2e::left_click(e2e::screen_point(list, size.cx / 2, size.cy / 2))
                         && e2e::poll_until([&] { return e2e::focus_in_thread_of(morvane.window) == list; });
    if (!t.check("a click gives the empty list the focus", focused, "the focus is elsewhere"))
        return;
    e2e::let_input_settle();

    const std::size_t mark = player.log.mark();
    std::vector<std::string> sent;
    {
        const e2e::Held_key shift(VK_LSHIFT);
        const bool repeated = shift.ok() && e2e::poll_until([&] {
                                  sent = player.log.commands_since(mark);
                                  return !sent.empty();
                              });
        if (!t.check("Shift down: one repeat from the mark, 0 ms",
                     repeated && sent == std::vector<std::string>{e2e::jump_line(0)},
                     [&] { return "the player received " + e2e::joined(sent); }))
            return;
        if (!t.check("P pressed with Shift down", e2e::tap_key('P'), "SendInput failed"))
            return;
        e2e::poll_until([&] {
            sent = player.log.commands_since(mark);
            return std::count(sent.begin(), sent.end(), "273 40045 0") >= 2;
        });
    }
    Sleep(300);
    sent = player.log.commands_since(mark);
    const std::vector<std::string> expected{e2e::jump_line(0), "273 40045 0", "273 40045 0"};
    t.check("Shift+P in the list plays twice, and nothing more", sent == expected,
            [&] { return "the player received " + e2e::joined(sent); });
    t.check("the list kept the focus", e2e::focus_in_thread_of(morvane.window) == list, "the focus moved");
}
