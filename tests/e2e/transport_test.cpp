// The seek buttons against a paused player at known positions, so every
// jump target is exact: 复读 before and after 定位, Jump from seek_bar's value,
// and 快退/快进 from a position the player reports.

#include <windows.h>

#include <string>
#include <vector>

#include "app/win32/control_ids.h"
#include "harness.h"
#include "player_checks.h"
#include "sessions.h"
#include "text_polls.h"
#include "window_access.h"

namespace {

// Clicks the button and checks the one jump it sends and where the player
// ends up.
void check_jump(e2e::Context& t, const e2e::Standin& player, HWND button, const std::string& name,
                int target_ms)
{
    const std::size_t mark = player.log.mark();
    std::vector<std::string> seen;
    const bool clicked = button != nullptr && e2e::click(button);
    if (t.check(name, clicked && e2e::sent_exactly(player.log, mark, e2e::jump_line(target_ms), seen),
                [&] { return clicked ? "the player received " + e2e::joined(seen) : "no button to click"; }))
        t.check(name + ": the player is there", e2e::standin_reaches(player.window, target_ms), [&] {
            return "the stand-in reports "
                   + std::to_string(e2e::standin_position_ms(player.window).value_or(-1));
        });
}

}  // namespace

E2E_TEST(seek_mark_and_jump)
{
    auto session = e2e::start_session(t, L"--state pause --position 5000");
    if (!session)
        return;
    auto& [player, morvane] = *session;
    const HWND text4 = morvane.control(IDC_MARK_LINE);
    std::wstring seen;
    // The tick runs: the paused position shows with no mark before it.
    if (!t.check("mark_line shows the paused position", e2e::shows(text4, e2e::mark_line(0, 5000), seen),
                 [&] { return "mark_line shows " + e2e::quoted(seen); }))
        return;

    check_jump(t, player, morvane.control(IDC_REPEAT), "复读 before any 定位 jumps to 0", 0);

    const HWND seek_bar = morvane.control(IDC_SEEK_BAR);
    const bool set = e2e::send(seek_bar, SBM_SETPOS, 10, TRUE).has_value()
                     && e2e::send(seek_bar, SBM_GETPOS) == std::optional<LRESULT>(10);
    if (t.check("seek_bar is set to 10", set, "SBM_SETPOS did not take"))
        check_jump(t, player, morvane.control(IDC_JUMP), "Jump with seek_bar at 10 asks for 10000 ms", 10000);

    check_jump(t, player, morvane.control(IDC_BACK), "快退 at 10000 ms asks for 8000 ms", 8000);

    // 定位 asks the player twice and sends nothing; the mark shows in mark_line.
    const std::size_t mark = player.log.mark();
    std::string detail;
    std::vector<std::string> sent;
    const bool clicked = e2e::click(morvane.control(IDC_MARK));
    t.check("定位 queries the position twice",
            clicked && e2e::one_tick_with_extra_queries(player.log, mark, 2, detail),
            [&] { return clicked ? detail : "the click was not handled"; });
    t.check("定位 sends no command", e2e::sent_nothing(player.log, mark, sent),
            [&] { return "the player received " + e2e::joined(sent); });
    t.check("定位 shows the mark in Text4",
            e2e::shows(text4, e2e::mark_line(8000, 8000), seen),
            [&] { return "mark_line shows " + e2e::quoted(seen); });

    check_jump(t, player, morvane.control(IDC_FORWARD), "快进 at 8000 ms asks for 10000 ms", 10000);
    t.check("mark_line keeps the mark before the position",
            e2e::shows(text4, e2e::mark_line(8000, 10000), seen),
            [&] { return "mark_line shows " + e2e::quoted(seen); });
    check_jump(t, player, morvane.control(IDC_REPEAT), "复读 jumps to the mark, 8000 ms", 8000);
}
