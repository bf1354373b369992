// Real mouse input on the seek bar: arrow and trough clicks and a thumb drag
// show the chosen second in seek_time, and Jump goes there. The drag runs
// the system's own tracking loop, which only real input reaches.

#include <algorithm>

#include "app/win32/control_ids.h"
#include "program_test.h"
#include "real_input.h"

namespace morvane::e2e {
namespace {

constexpr int kTrackLengthSec = 245;

class SeekBar : public ProgramTest {
protected:
    int Value() { return static_cast<int>(Send(Control(IDC_SEEK_BAR), SBM_GETPOS).value_or(-1)); }

    // Waits for the bar to hold a value in [low, high] that seek_time shows,
    // unchanged for steady_ms: the moves still queued after a drag pass
    // through values on the way. The value, or -1 with the history in a failure.
    int ExpectSettles(int low, int high, DWORD steady_ms = 300)
    {
        std::string history;
        std::wstring seen;
        int value = -2;
        ULONGLONG since = 0;
        const bool settled = PollUntil([&] {
            const int now = Value();
            if (now != value) {
                history.append(" ").append(std::to_string(now));
                since = GetTickCount64();
            }
            value = now;
            seen = TextOf(Control(IDC_SEEK_TIME)).value_or(L"?");
            return value >= low && value <= high && seen == ShortTime(value) && GetTickCount64() - since >= steady_ms;
        });
        EXPECT_TRUE(settled) << "seek_bar went" << history << ", expected " << low << ".." << high;
        return settled ? value : -1;
    }

    // The bar's arrows, trough and thumb on the screen, worked out from the
    // system's metrics as the control lays itself out: GetScrollBarInfo
    // does not reach into another process under Wine.
    struct Parts {
        RECT bar;
        int arrow, thumb_left, thumb_width;
        int Y() const { return (bar.top + bar.bottom) / 2; }
        int Travel() const { return bar.right - bar.left - 2 * arrow - thumb_width; }
    };
    Parts Locate()
    {
        const HWND bar = Control(IDC_SEEK_BAR);
        Parts parts{};
        GetClientRect(bar, &parts.bar);
        MapWindowPoints(bar, HWND_DESKTOP, reinterpret_cast<POINT*>(&parts.bar), 2);
        parts.arrow = GetSystemMetrics(SM_CXHSCROLL);
        parts.thumb_width = GetSystemMetrics(SM_CXHTHUMB);
        parts.thumb_left = parts.bar.left + parts.arrow + MulDiv(parts.Travel(), std::max(Value(), 0), kTrackLengthSec);
        return parts;
    }
};

TEST_F(SeekBar, ClicksAndADragChooseTheSecondAndJumpGoesThere)
{
    ASSERT_NO_FATAL_FAILURE(Start(L"--state play"));
    // Track 1 plays: the range is its length, so a trough click steps by 1 too.
    ASSERT_TRUE(PollUntil([&] {
        int low = -1, high = -1;
        Send(Control(IDC_SEEK_BAR), SBM_GETRANGE, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
        return low == 0 && high == kTrackLengthSec;
    })) << "seek_bar does not span 0..245";
    ASSERT_TRUE(ToForeground(morvane->window));

    Parts parts = Locate();
    EXPECT_TRUE(LeftClick({parts.bar.right - 1 - parts.arrow / 2, parts.Y()})) << "the right arrow";
    EXPECT_EQ(ExpectSettles(1, 1), 1);
    parts = Locate();
    EXPECT_TRUE(LeftClick({(parts.thumb_left + parts.thumb_width + parts.bar.right - parts.arrow) / 2, parts.Y()}))
        << "the trough";
    EXPECT_EQ(ExpectSettles(2, 2), 2);
    parts = Locate();
    EXPECT_TRUE(LeftClick({parts.bar.left + parts.arrow / 2, parts.Y()})) << "the left arrow";
    EXPECT_EQ(ExpectSettles(1, 1), 1);

    // The thumb dragged right: seek_time follows while the button is still
    // down, and the value stays where the thumb is let go. A few pixels
    // either way: where the thumb is gripped, and the rounding.
    parts = Locate();
    const auto after = [&](int moved_px) { return 1 + moved_px * kTrackLengthSec / parts.Travel(); };
    const int slack = 4 * kTrackLengthSec / parts.Travel() + 1;
    POINT at{parts.thumb_left + parts.thumb_width / 2, parts.Y()};
    int value = -1;
    {
        Drag drag(at);
        ASSERT_TRUE(drag.Ok()) << "the button press did not go in";
        at.x += 20;
        EXPECT_TRUE(drag.MoveTo(at));
        ExpectSettles(after(20) - slack, after(20) + slack, 0);
        at.x += 30;
        EXPECT_TRUE(drag.MoveTo(at) && drag.Release());
        value = ExpectSettles(after(50) - slack, after(50) + slack);
    }
    const std::size_t mark = player->log.Mark();
    ASSERT_TRUE(Click(Control(IDC_JUMP)));
    EXPECT_EQ(player->log.CommandsSettled(mark), std::vector<std::string>{JumpLine(value * 1000)});
}

} // namespace
} // namespace morvane::e2e
