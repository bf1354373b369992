// The player failing under Morvane: killed while Morvane polls, started
// again, and hanging. Morvane must keep running, do nothing harmful while the
// player is away, and find the player again.

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/win32/control_ids.h"
#include "harness.h"
#include "sessions.h"
#include "standin_protocol.h"
#include "text_polls.h"
#include "window_access.h"

namespace {

using e2e::playing_line;
using e2e::stopped_line;

// The buttons that talk to the player: transport, seek and the mark.
constexpr int player_buttons[] = {IDC_PREVIOUS,    IDC_PLAY,   IDC_PAUSE,  IDC_STOP, IDC_NEXT,
                                  IDC_BACK, IDC_FORWARD, IDC_REPEAT, IDC_JUMP};

// Starting or killing a player under Wine can take seconds.
constexpr DWORD player_change_ms = 10000;

// Waits until the control shows `want`; `seen` keeps the last text read.
bool shows(HWND control, const std::wstring& want, std::wstring& seen, DWORD timeout_ms = player_change_ms)
{
    return e2e::shows(control, want, seen, timeout_ms);
}

// Every text Morvane shows, in one string, to see that nothing changed.
std::wstring shown_texts(const e2e::Morvane& morvane)
{
    std::wstring all = e2e::text_of(morvane.window).value_or(L"?");
    for (int id : {IDC_COUNT_LINE, IDC_STATE_LINE, IDC_TIME_LINE, IDC_MARK_LINE, IDC_SEEK_TIME})
        all += L"|" + e2e::text_of(morvane.control(id)).value_or(L"?");
    return all;
}

std::optional<LRESULT> player_state(HWND player) { return e2e::send(player, STANDIN_GET_STATE, 0, 0, 500); }

// The player playing and Morvane showing it; nullopt (after a failed
// check) otherwise.
std::optional<e2e::Session> playing_session(e2e::Context& t)
{
    auto session = e2e::start_session(t, L"--state play");
    std::wstring seen;
    if (session && !t.check("the state line shows the player playing",
                            shows(session->morvane.control(IDC_STATE_LINE), playing_line, seen),
                            [&] { return "state_line " + e2e::quoted(seen); }))
        return std::nullopt;
    return session;
}

}  // namespace

E2E_TEST(player_killed_and_restarted)
{
    auto session = playing_session(t);
    if (!session)
        return;
    auto& [player, morvane] = *session;
    const HWND state_line = morvane.control(IDC_STATE_LINE);
    std::wstring seen;

    player.process.kill();
    t.check("the stand-in player is gone", e2e::poll_until(e2e::no_player_running), "its window is still there");
    t.check("the state line shows the stopped text", shows(state_line, stopped_line, seen),
            [&] { return "state_line " + e2e::quoted(seen); });

    // With no player every button that talks to it is handled and does
    // nothing: no message, no change of what the window shows.
    const std::wstring before = shown_texts(morvane);
    int unhandled = 0;
    for (int id : player_buttons)
        if (!e2e::click(morvane.control(id)))
            ++unhandled;
    t.check("the player buttons are handled without a player", unhandled == 0,
            std::to_string(unhandled) + " clicks were not handled");
    // Give a wrongly shown message or a late change time to appear.
    Sleep(500);
    t.check("Morvane keeps running", morvane.process.running() && e2e::send(morvane.window, WM_NULL).has_value(),
            "it ended or does not answer");
    const auto windows = e2e::top_windows(morvane.process.id(), nullptr, true);
    t.check("no other window opens", windows.size() == 1 && windows.front() == morvane.window,
            std::to_string(windows.size()) + " visible windows");
    const std::wstring after = shown_texts(morvane);
    t.check("the buttons change nothing Morvane shows", after == before,
            [&] { return e2e::quoted(before) + " became " + e2e::quoted(after); });

    // A new player, on another track so that its title differs.
    e2e::Context again{t.checks, t.bin_dir, t.out_dir, t.test_name + "-restarted"};
    auto second = e2e::start_standin(again, L"--state play --track 3");
    if (!second)
        return;
    t.check("Morvane finds the restarted player: the state line shows it playing",
            shows(state_line, playing_line, seen), [&] { return "state_line " + e2e::quoted(seen); });
    const std::wstring title = e2e::text_of(second->window).value_or(L"(no answer)");
    t.check("the caption follows the restarted player's title", shows(morvane.window, title, seen),
            [&] { return "caption " + e2e::quoted(seen) + ", the player's title " + e2e::quoted(title); });
    t.check("暂停 reaches the restarted player",
            e2e::click(morvane.control(IDC_PAUSE)) &&
                e2e::poll_until([&] { return player_state(second->window) == std::optional<LRESULT>(3); }),
            "the restarted player does not report paused");
}

// The window's own answers while the player hangs are checked beside the
// player link; here the buttons and the texts that do not come from the
// player keep working, and the read-outs come back when the player does.
E2E_TEST(player_hangs)
{
    auto session = playing_session(t);
    if (!session)
        return;
    auto& [player, morvane] = *session;
    const HWND state_line = morvane.control(IDC_STATE_LINE);
    std::wstring seen;

    constexpr DWORD hang_ms = 12000;
    PostMessageW(player.window, STANDIN_HANG, hang_ms, 0);
    const ULONGLONG hang_start = GetTickCount64();
    if (!t.check("the stand-in player hangs on request",
                 e2e::poll_until([&] { return !player_state(player.window).has_value(); }, 3000),
                 "it still answers"))
        return;

    // 记录 takes the position the hung player does not give (0) and the
    // count beside the list follows. Posted, so it waits its turn between
    // ticks like a user's click.
    e2e::post_click(morvane.control(IDC_RECORD));
    const HWND list = morvane.control(IDC_MARK_LIST);
    t.check("记录 adds an entry while the player hangs",
            e2e::poll_until([&] { return e2e::list_count(list) == std::optional<int>(1); }, 8000),
            "the list does not grow");
    t.check("the entry count shows 1", shows(morvane.control(IDC_COUNT_LINE), L"1", seen, 5000),
            [&] { return "count_line " + e2e::quoted(seen); });
    t.check("the list shows the entry selected", e2e::list_selection(list) == std::optional<int>(0),
            "no selection");
    t.check("this all happened while the player still hung", !player_state(player.window).has_value(),
            "the player answered again too early for this check");

    // Once the player answers again the read-outs follow it again.
    const DWORD left = static_cast<DWORD>(hang_ms - std::min<ULONGLONG>(hang_ms, GetTickCount64() - hang_start));
    t.check("the state line shows the player playing once it answers again",
            shows(state_line, playing_line, seen, left + player_change_ms), [&] { return "state_line " + e2e::quoted(seen); });
}
