// The poll tick in the real window: the state line, the time line, the mark
// line, the caption and the scroll bar's range follow the player through
// play, pause, another track, stop and its going away.

#include <string>

#include "app/win32/control_ids.h"
#include "rig.h"

namespace morvane::test {
namespace {

constexpr char16_t kLongTitle[] = u"2. 英语听力 全集朗读 - Winamp";
constexpr int kLongLengthSec = 40000;

std::wstring Time_Line(int length_sec, int position_sec)
{
    return L"总时间:" + Short_Time(length_sec) + L"<==>当前时间:" + Short_Time(position_sec);
}

class Tick : public Window_Rig {
protected:
    Tick() { player.title = u"1. 英语听力 第一课 - Winamp"; }

    void Expect_Range(int max)
    {
        int low = -1, high = -1;
        Pump_Until([&] {
            SendMessageW(Control(IDC_SEEK_BAR), SBM_GETRANGE, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
            return low == 0 && high == max;
        });
        EXPECT_EQ(low, 0);
        EXPECT_EQ(high, max);
    }
    // The player moves on; every time line follows it.
    void Expect_Clock_Followed(int length_sec, int mark_ms, int position_ms)
    {
        player.position = position_ms;
        Expect_Shows(IDC_TIME_LINE, Time_Line(length_sec, position_ms / 1000));
        Expect_Shows(IDC_MARK_LINE, Mark_Line(mark_ms, position_ms));
    }
    void Expect_Sent(int id, const std::string& command)
    {
        Click(id);
        ASSERT_FALSE(player.Commands().empty());
        EXPECT_EQ(player.Commands().back(), command);
    }
    std::wstring Title() { return std::wstring(player.title.begin(), player.title.end()); }
};

TEST_F(Tick, FollowsThePlayerThroughPlayPauseAnotherTrackStopAndItsEnd)
{
    Expect_Shows(IDC_STATE_LINE, kPlaying);
    Expect_Shows(Main(), Title());
    Expect_Range(245);
    Expect_Clock_Followed(245, 0, 3456);
    Expect_Clock_Followed(245, 0, 4567);

    // Paused: the lines stand at the player's position; 定位 marks it.
    Expect_Sent(IDC_PAUSE, "pause");
    player.state = PlayState::Paused;
    Expect_Shows(IDC_STATE_LINE, kPaused);
    Expect_Clock_Followed(245, 0, 83456);
    Click(IDC_MARK);
    Expect_Shows(IDC_MARK_LINE, Mark_Line(83456, 83456));

    // The long track, still paused: its length, the mark kept, and seek_bar keeps
    // the range of the last playing tick.
    Expect_Sent(IDC_NEXT, "next");
    player.title = kLongTitle;
    player.length = kLongLengthSec;
    player.position = 0;
    Expect_Shows(Main(), Title());
    Expect_Shows(IDC_TIME_LINE, Time_Line(kLongLengthSec, 0));
    Expect_Shows(IDC_MARK_LINE, Mark_Line(83456, 0));
    Expect_Range(245);

    // Playing it: the range stops at 32767 s, the times go on.
    Expect_Sent(IDC_PLAY, "play");
    player.state = PlayState::Playing;
    Expect_Shows(IDC_STATE_LINE, kPlaying);
    Expect_Range(32767);
    Expect_Clock_Followed(kLongLengthSec, 83456, 1234);

    Expect_Sent(IDC_STOP, "stop");
    player.state = PlayState::Stopped;
    player.position = 0;
    Expect_Shows(IDC_STATE_LINE, kStopped);
    Expect_Shows(IDC_TIME_LINE, Time_Line(kLongLengthSec, 0));

    // The player goes away while playing: zeros and the stopped line; the
    // caption keeps the last title.
    player.state = PlayState::Playing;
    player.position = 5000;
    Expect_Shows(IDC_STATE_LINE, kPlaying);
    player.running = false;
    Expect_Shows(IDC_STATE_LINE, kStopped);
    Expect_Shows(IDC_TIME_LINE, Time_Line(0, 0));
    Expect_Shows(IDC_MARK_LINE, Mark_Line(83456, 0));
    Expect_Shows(Main(), Title());
}

// Far past 32767 s on a long track every line still follows.
TEST_F(Tick, FollowsALongTrackPast32767Seconds)
{
    player.title = kLongTitle;
    player.length = kLongLengthSec;
    player.position = 33000000;  // [550:00]
    Expect_Shows(Main(), Title());
    Expect_Shows(IDC_STATE_LINE, kPlaying);
    Expect_Range(32767);
    Expect_Clock_Followed(kLongLengthSec, 0, 33000000);
    Expect_Clock_Followed(kLongLengthSec, 0, 33001234);
}

} // namespace
} // namespace morvane::test
