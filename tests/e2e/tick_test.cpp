// The poll tick: the state line, the time line, the mark line, the caption
// and the scroll bar's range follow the player as it changes.

#include <windows.h>

#include <cwchar>
#include <optional>
#include <string>

#include "app/win32/control_ids.h"
#include "harness.h"
#include "player_checks.h"
#include "scroll_access.h"
#include "sessions.h"
#include "text_polls.h"
#include "window_access.h"

namespace {

using e2e::paused_line;
using e2e::playing_line;
using e2e::stopped_line;
constexpr wchar_t first_title[] = L"1. 英语听力 第一课 - Winamp";
constexpr wchar_t long_title[] = L"2. 英语听力 全集朗读 - Winamp";
constexpr int first_length_sec = 245;
constexpr int long_length_sec = 40000;
constexpr int widest_range = 32767;
constexpr wchar_t now_label[] = L"<==>当前时间:";

std::wstring time_line(int length_sec, int position_sec)
{
    return L"总时间:" + e2e::short_time(length_sec) + now_label + e2e::short_time(position_sec);
}

std::optional<int> shown_now(const std::wstring& line)
{
    const std::size_t at = line.find(now_label);
    if (at == std::wstring::npos)
        return std::nullopt;
    return e2e::seconds_in(line, at + std::wcslen(now_label));
}

bool starts_with(const std::wstring& text, const std::wstring& start)
{
    return text.rfind(start, 0) == 0;
}

// Waits until the time line shows the track's length and a current time the
// stand-in's clock was at while the line was read (a tick may lag a second).
bool time_follows(HWND text3, HWND player, int length_sec, std::wstring& seen)
{
    const std::wstring head = L"总时间:" + e2e::short_time(length_sec) + now_label;
    return e2e::poll_until([&] {
        const auto before = e2e::standin_position_ms(player);
        const auto text = e2e::text_of(text3);
        const auto after = e2e::standin_position_ms(player);
        seen = text ? *text : L"(no answer)";
        if (!before || !text || !after || !starts_with(*text, head))
            return false;
        const auto now = shown_now(*text);
        return now && *now >= *before / 1000 - 1 && *now <= *after / 1000;
    });
}

// Reads the control twice: the second text differs from the first within
// a few seconds, because the clock behind it runs.
bool keeps_moving(HWND control, std::wstring& first, std::wstring& second)
{
    const auto text = e2e::text_of(control);
    first = text ? *text : L"(no answer)";
    return text
           && e2e::text_until(
               control, [&](const std::wstring& now) { return now != first; }, second);
}

bool range_is(HWND bar, int max, std::string& detail)
{
    const bool reached = e2e::poll_until([&] {
        const auto state = e2e::scroll_state(bar);
        detail = state ? "range " + std::to_string(state->min) + ".." + std::to_string(state->max)
                       : "the range cannot be read";
        return state && state->min == 0 && state->max == max;
    });
    return reached;
}

bool reaches_state(HWND player, int state)
{
    return e2e::poll_until([&] { return e2e::standin_state(player) == state; });
}

std::string text_detail(const char* control, const std::wstring& seen)
{
    return std::string(control) + " shows " + e2e::quoted(seen);
}

}  // namespace

E2E_TEST(tick_follows_player)
{
    auto session = e2e::start_session(t, L"--state play");
    if (!session)
        return;
    auto& [player, morvane] = *session;
    const HWND text2 = morvane.control(IDC_STATE_LINE);
    const HWND text3 = morvane.control(IDC_TIME_LINE);
    const HWND text4 = morvane.control(IDC_MARK_LINE);
    const HWND seek_bar = morvane.control(IDC_SEEK_BAR);
    std::wstring seen;
    std::wstring later;
    std::string detail;

    t.check("playing: state_line shows the playing line", e2e::shows(text2, playing_line, seen),
            [&] { return text_detail("Text2", seen); });
    t.check("playing: the caption is the player's title", e2e::shows(morvane.window, first_title, seen),
            [&] { return "caption " + e2e::quoted(seen); });
    t.check("playing: seek_bar's range is 0..245, the track's length", range_is(seek_bar, first_length_sec, detail),
            [&] { return detail; });
    t.check("playing: time_line shows the length and the player's time",
            time_follows(text3, player.window, first_length_sec, seen),
            [&] { return text_detail("Text3", seen); });
    t.check("playing: mark_line shows the start mark 0 and the position",
            e2e::text_until(
                text4, [](const std::wstring& text) { return starts_with(text, L"[000:00:000]<==>[000:0"); }, seen),
            [&] { return text_detail("Text4", seen); });
    t.check("playing: time_line's time moves on", keeps_moving(text3, seen, later),
            [&] { return "still " + e2e::quoted(seen); });

    // Paused: every line stands still at the player's position.
    if (!t.check("暂停 pauses the player",
                 e2e::click(morvane.control(IDC_PAUSE)) && reaches_state(player.window, 3),
                 "the stand-in does not report paused"))
        return;
    const int paused_ms = e2e::standin_position_ms(player.window).value_or(-1);
    t.check("paused: state_line shows the paused line", e2e::shows(text2, paused_line, seen),
            [&] { return text_detail("Text2", seen); });
    t.check("paused: time_line shows the paused time",
            e2e::shows(text3, time_line(first_length_sec, paused_ms / 1000), seen),
            [&] { return text_detail("Text3", seen); });
    t.check("paused: mark_line shows the paused position",
            e2e::shows(text4, e2e::mark_line(0, paused_ms), seen),
            [&] { return text_detail("Text4", seen); });
    t.check("定位: mark_line shows the mark and the position",
            e2e::click(morvane.control(IDC_MARK))
                && e2e::shows(text4, e2e::mark_line(paused_ms, paused_ms), seen),
            [&] { return text_detail("Text4", seen); });

    // The next track, still paused: the long one, starting at 0.
    if (!t.check("下首 moves the player to track 2",
                 e2e::click(morvane.control(IDC_NEXT))
                     && e2e::poll_until([&] { return e2e::standin_track(player.window) == 2; }),
                 "the stand-in is not on track 2"))
        return;
    t.check("track 2: the caption follows the player's title", e2e::shows(morvane.window, long_title, seen),
            [&] { return "caption " + e2e::quoted(seen); });
    t.check("track 2 paused: time_line shows its length and 0",
            e2e::shows(text3, time_line(long_length_sec, 0), seen),
            [&] { return text_detail("Text3", seen); });
    t.check("track 2 paused: mark_line keeps the mark",
            e2e::shows(text4, e2e::mark_line(paused_ms, 0), seen),
            [&] { return text_detail("Text4", seen); });
    t.check("track 2 paused: seek_bar keeps the range of the last playing tick",
            range_is(seek_bar, first_length_sec, detail), [&] { return detail; });

    // Playing the long track: the range stops at its end, the times go on.
    if (!t.check("播放 resumes the player",
                 e2e::click(morvane.control(IDC_PLAY)) && reaches_state(player.window, 1),
                 "the stand-in does not report playing"))
        return;
    t.check("long track: state_line shows the playing line", e2e::shows(text2, playing_line, seen),
            [&] { return text_detail("Text2", seen); });
    t.check("long track: seek_bar's range ends at 32767", range_is(seek_bar, widest_range, detail),
            [&] { return detail; });
    t.check("long track: time_line shows the length and the player's time",
            time_follows(text3, player.window, long_length_sec, seen),
            [&] { return text_detail("Text3", seen); });
    t.check("long track: time_line's time moves on", keeps_moving(text3, seen, later),
            [&] { return "still " + e2e::quoted(seen); });

    if (t.check("停止 stops the player",
                e2e::click(morvane.control(IDC_STOP)) && reaches_state(player.window, 0),
                "the stand-in does not report stopped")) {
        t.check("stopped: state_line shows the stopped line", e2e::shows(text2, stopped_line, seen),
                [&] { return text_detail("Text2", seen); });
        t.check("stopped: time_line shows the length and 0",
                e2e::shows(text3, time_line(long_length_sec, 0), seen),
                [&] { return text_detail("Text3", seen); });
    }

    // The player goes away while playing: zeros, the stopped line, and the
    // caption keeps the last title.
    if (!t.check("播放 restarts the player",
                 e2e::click(morvane.control(IDC_PLAY)) && reaches_state(player.window, 1)
                     && e2e::shows(text2, playing_line, seen),
                 [&] { return text_detail("Text2", seen); }))
        return;
    player.process.kill();
    t.check("player closed: no player window is left", e2e::poll_until(e2e::no_player_running),
            "a window of the player's class is still open");
    t.check("player closed: state_line shows the stopped line", e2e::shows(text2, stopped_line, seen),
            [&] { return text_detail("Text2", seen); });
    t.check("player closed: time_line shows zeros", e2e::shows(text3, time_line(0, 0), seen),
            [&] { return text_detail("Text3", seen); });
    t.check("player closed: mark_line keeps the mark, position 0",
            e2e::shows(text4, e2e::mark_line(paused_ms, 0), seen),
            [&] { return text_detail("Text4", seen); });
    t.check("player closed: the caption keeps the last title",
            e2e::text_of(morvane.window) == std::optional<std::wstring>(long_title),
            [&] { return "caption " + e2e::quoted(e2e::text_of(morvane.window).value_or(L"(no answer)")); });
}

// Started on the long track far past 32767 s: every line still follows.
E2E_TEST(tick_long_track)
{
    constexpr int start_ms = 33000000;  // [550:00]
    auto session = e2e::start_session(t, L"--track 2 --state play --position " + std::to_wstring(start_ms));
    if (!session)
        return;
    auto& [player, morvane] = *session;
    const HWND text3 = morvane.control(IDC_TIME_LINE);
    const HWND text4 = morvane.control(IDC_MARK_LINE);
    std::wstring seen;
    std::wstring later;
    std::string detail;

    t.check("long track: the caption is track 2's title", e2e::shows(morvane.window, long_title, seen),
            [&] { return "caption " + e2e::quoted(seen); });
    t.check("long track: state_line shows the playing line",
            e2e::shows(morvane.control(IDC_STATE_LINE), playing_line, seen),
            [&] { return text_detail("Text2", seen); });
    t.check("long track: seek_bar's range is 0..32767", range_is(morvane.control(IDC_SEEK_BAR), widest_range, detail),
            [&] { return detail; });
    t.check("long track: time_line shows 40000 s and a time past 550 min",
            time_follows(text3, player.window, long_length_sec, seen),
            [&] { return text_detail("Text3", seen); });
    t.check("long track: time_line's time moves on", keeps_moving(text3, seen, later),
            [&] { return "still " + e2e::quoted(seen); });
    t.check("long track: mark_line's position moves on",
            e2e::text_until(
                text4, [](const std::wstring& text) { return starts_with(text, L"[000:00:000]<==>[550:"); }, seen)
                && keeps_moving(text4, seen, later),
            [&] { return text_detail("Text4", seen); });
}
