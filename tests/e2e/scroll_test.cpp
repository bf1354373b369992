// Real mouse input on the scroll bar: arrow and trough clicks and a thumb
// drag show the chosen second in seek_time, and Jump goes there. The drag runs
// the system's own tracking loop, which only real input reaches.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/win32/control_ids.h"
#include "harness.h"
#include "player_checks.h"
#include "real_input.h"
#include "scroll_access.h"
#include "sessions.h"
#include "text_polls.h"
#include "window_access.h"

namespace {

constexpr int track_length_sec = 245;

int bar_value(HWND bar)
{
    return static_cast<int>(e2e::send(bar, SBM_GETPOS).value_or(-1));
}

// Waits for seek_bar to hold `value` and seek_time to show it, and for both to stay so
// a moment longer: one click moves the bar once.
bool bar_settles_at(HWND bar, HWND text5, int value, std::string& detail)
{
    std::string history;  // the values seek_bar went through, in order
    int last = -1;
    std::wstring seen;
    const auto shows_value = [&] {
        const int now = bar_value(bar);
        if (now != last || history.empty())
            history += (history.empty() ? "" : " -> ") + std::to_string(now);
        last = now;
        seen = e2e::text_of(text5).value_or(L"(no answer)");
        return now == value && seen == e2e::short_time(value);
    };
    bool shown = e2e::poll_until(shows_value);
    if (shown) {
        Sleep(300);
        shown = shows_value();
    }
    detail = "seek_bar went " + history + ", seek_time shows " + e2e::quoted(seen);
    return shown;
}

// seek_time shows seek_bar's value, whatever it is, the value lies in [low, high], and
// it has held still for steady_ms: the moves still queued when the button
// goes up pass through values on the way.
bool text_follows_bar(HWND bar, HWND text5, int low, int high, DWORD steady_ms, int& value,
                      std::string& detail)
{
    std::string history;  // the values seek_bar went through, in order
    std::wstring seen;
    ULONGLONG since = 0;
    const bool shown = e2e::poll_until([&] {
        const int now = bar_value(bar);
        if (now != value || history.empty()) {
            history += (history.empty() ? "" : " -> ") + std::to_string(now);
            since = GetTickCount64();
        }
        value = now;
        seen = e2e::text_of(text5).value_or(L"(no answer)");
        return value >= low && value <= high && seen == e2e::short_time(value)
               && GetTickCount64() - since >= steady_ms;
    });
    detail = "seek_bar went " + history + " (expected " + std::to_string(low) + ".." + std::to_string(high)
             + "), seek_time shows " + e2e::quoted(seen);
    return shown;
}

}  // namespace

E2E_TEST(scroll_bar_mouse)
{
    auto session = e2e::start_session(t, L"--state play");
    if (!session)
        return;
    auto& [player, morvane] = *session;
    const HWND seek_bar = morvane.control(IDC_SEEK_BAR);
    const HWND text5 = morvane.control(IDC_SEEK_TIME);
    std::string detail;

    // Track 1 plays: the range is its length, so a trough click steps by 1 too.
    const bool ranged = e2e::poll_until([&] {
        const auto state = e2e::scroll_state(seek_bar);
        return state && state->min == 0 && state->max == track_length_sec;
    });
    if (!t.check("seek_bar spans 0..245 while track 1 plays", ranged, "the range did not change"))
        return;
    if (!t.check("Morvane's window comes to the front", e2e::to_foreground(morvane.window),
                 "another window stays in front"))
        return;
    auto parts = e2e::scroll_parts(seek_bar);
    if (!t.check("seek_bar's arrows and thumb can be located", parts.has_value(), "the scroll bar's range cannot be read"))
        return;

    t.check("a click on the right arrow: seek_bar at 1, seek_time [000:01]",
            e2e::left_click(parts->right_arrow()) && bar_settles_at(seek_bar, text5, 1, detail), [&] { return detail; });
    parts = e2e::scroll_parts(seek_bar);
    t.check("a click in the trough: seek_bar at 2, seek_time [000:02]",
            parts && e2e::left_click(parts->trough_right()) && bar_settles_at(seek_bar, text5, 2, detail),
            [&] { return detail; });
    parts = e2e::scroll_parts(seek_bar);
    t.check("a click on the left arrow: seek_bar at 1, seek_time [000:01]",
            parts && e2e::left_click(parts->left_arrow()) && bar_settles_at(seek_bar, text5, 1, detail),
            [&] { return detail; });

    // The thumb dragged right: seek_time follows while the button is still down,
    // and the value stays where the thumb was let go.
    parts = e2e::scroll_parts(seek_bar);
    if (!t.check("seek_bar's thumb can be located", parts.has_value(), "the scroll bar's range cannot be read"))
        return;
    const int travel_px = (parts->bar.right - parts->bar.left) - 2 * parts->arrow_width
                          - (parts->thumb_right - parts->thumb_left);
    const auto value_after = [&](int moved_px) { return 1 + moved_px * track_length_sec / travel_px; };
    // A few pixels either way: where the thumb is gripped and the rounding.
    const int slack = 4 * track_length_sec / travel_px + 1;
    POINT at = parts->thumb();
    int value = -1;
    {
        e2e::Drag drag(at);
        if (!t.check("the thumb is grabbed", drag.ok(), "the button press did not go in"))
            return;
        at.x += 20;
        t.check("dragging the thumb 20 px: seek_time follows before the release",
                drag.move_to(at)
                    && text_follows_bar(seek_bar, text5, value_after(20) - slack, value_after(20) + slack, 0,
                                        value, detail),
                [&] { return detail; });
        at.x += 30;
        const bool moved = drag.move_to(at);
        const bool released = drag.release();
        t.check("dropping the thumb 50 px from its start: seek_bar stays there, seek_time shows it",
                moved && released
                    && text_follows_bar(seek_bar, text5, value_after(50) - slack, value_after(50) + slack, 300,
                                        value, detail),
                [&] { return detail; });
    }
    const std::size_t mark = player.log.mark();
    std::vector<std::string> seen;
    t.check("Jump goes to the dropped value's second",
            e2e::click(morvane.control(IDC_JUMP))
                && e2e::sent_exactly(player.log, mark, e2e::jump_line(value * 1000), seen),
            [&] {
                return "expected \"" + e2e::jump_line(value * 1000) + "\", the player received "
                       + e2e::joined(seen);
            });
}
