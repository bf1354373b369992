// What Morvane sends the player: the transport commands, a jump, the tick's
// queries, and staying responsive while the player hangs.

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/win32/control_ids.h"
#include "harness.h"
#include "sessions.h"
#include "standin_protocol.h"
#include "window_access.h"

namespace {

struct Transport {
    const char* caption;
    int id;
    const char* message;
};

constexpr Transport transport_buttons[] = {
    {"前首", IDC_PREVIOUS, "273 40044 0"},
    {"播放", IDC_PLAY, "273 40045 0"},
    {"暂停", IDC_PAUSE, "273 40046 0"},
    {"停止", IDC_STOP, "273 40047 0"},
    {"下首", IDC_NEXT, "273 40048 0"},
};

// Waits for the log to show `expected` as the only command since the mark;
// a little time after it shows, so that a second message would show too.
bool sent_exactly(const e2e::Player_log& log, std::size_t mark, const std::string& expected,
                  std::vector<std::string>& seen)
{
    const auto arrived = [&] {
        seen = log.commands_since(mark);
        return std::find(seen.begin(), seen.end(), expected) != seen.end();
    };
    if (!e2e::poll_until(arrived, 5000))
        return false;
    Sleep(300);
    seen = log.commands_since(mark);
    return seen.size() == 1 && seen.front() == expected;
}

}  // namespace

E2E_TEST(transport_buttons)
{
    auto session = e2e::start_session(t, L"--state play");
    if (!session)
        return;
    auto& [player, morvane] = *session;
    for (const Transport& button : transport_buttons) {
        const std::string name = std::string(button.caption) + " sends \"" + button.message + "\"";
        const HWND control = morvane.control(button.id);
        if (control == nullptr) {
            t.check(name, false, "no such button");
            continue;
        }
        const std::size_t mark = player.log.mark();
        std::vector<std::string> seen;
        const bool clicked = e2e::click(control);
        t.check(name, clicked && sent_exactly(player.log, mark, button.message, seen),
                clicked ? "the player received " + e2e::joined(seen) : "the click was not handled");
    }
}

// The jump is the one posted message; 快退 and 快进 from a paused, known
// position give exact targets, a negative one included.
E2E_TEST(seek_steps)
{
    auto session = e2e::start_session(t, L"--state pause --position 1500");
    if (!session)
        return;
    auto& [player, morvane] = *session;
    const struct {
        const char* name;
        int id;
        const char* message;
    } steps[] = {
        {"快退 at 1500 ms asks for -500 ms", IDC_BACK, "1024 -500 106"},
        {"快进 at 0 ms asks for 2000 ms", IDC_FORWARD, "1024 2000 106"},
    };
    for (const auto& step : steps) {
        const HWND control = morvane.control(step.id);
        const std::size_t mark = player.log.mark();
        std::vector<std::string> seen;
        const bool clicked = control != nullptr && e2e::click(control);
        t.check(step.name, clicked && sent_exactly(player.log, mark, step.message, seen),
                clicked ? "the player received " + e2e::joined(seen) : "no button to click");
    }
}

E2E_TEST(tick_queries)
{
    auto session = e2e::start_session(t, L"--state play");
    if (!session)
        return;
    auto& [player, morvane] = *session;
    const std::size_t mark = player.log.mark();
    // The title read's lParam is a pointer, so only its start is known.
    const std::string wanted[] = {"1024 0 104", "1024 0 105", "1024 1 105", "13 64000 "};
    const auto matches = [](const std::string& line, const std::string& want) {
        return want.back() == ' ' ? line.rfind(want, 0) == 0 : line == want;
    };
    std::vector<std::string> missing;
    e2e::poll_until(
        [&] {
            const auto lines = player.log.lines_since(mark);
            missing.clear();
            for (const std::string& want : wanted)
                if (std::none_of(lines.begin(), lines.end(),
                                 [&](const std::string& line) { return matches(line, want); }))
                    missing.push_back(want);
            return missing.empty();
        },
        5000);
    t.check("the tick asks state, position, length and title", missing.empty(),
            "never received " + e2e::joined(missing));
}

E2E_TEST(hung_player)
{
    auto session = e2e::start_session(t, L"--state play");
    if (!session)
        return;
    auto& [player, morvane] = *session;

    constexpr DWORD hang_ms = 12000;
    PostMessageW(player.window, STANDIN_HANG, hang_ms, 0);
    const bool hung = e2e::poll_until(
        [&] { return !e2e::send(player.window, STANDIN_GET_STATE, 0, 0, 200).has_value(); }, 3000);
    if (!t.check("the stand-in player hangs on request", hung, "it still answers"))
        return;

    // Sent messages reach Morvane even while it waits on the player, so also
    // make sure its own queue moves: a posted close must end it in time.
    DWORD slowest = 0;
    int unanswered = 0;
    const ULONGLONG until = GetTickCount64() + 3000;
    while (GetTickCount64() < until) {
        const ULONGLONG start = GetTickCount64();
        if (!e2e::send(morvane.window, WM_NULL, 0, 0, 1000))
            ++unanswered;
        slowest = std::max(slowest, static_cast<DWORD>(GetTickCount64() - start));
        Sleep(200);
    }
    t.check("the window answers within 1 s while the player hangs", unanswered == 0,
            std::to_string(unanswered) + " pings unanswered, slowest " + std::to_string(slowest) + " ms");

    PostMessageW(morvane.window, WM_CLOSE, 0, 0);
    t.check("the window still closes while the player hangs", morvane.process.wait_exit(4000),
            "still running 4 s after WM_CLOSE");
}
