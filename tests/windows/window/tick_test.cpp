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

std::wstring TimeLine(int length_sec, int position_sec)
{
    return L"总时间:" + ShortTime(length_sec) + L"<==>当前时间:" + ShortTime(position_sec);
}

class Tick : public WindowRig {
protected:
    Tick() { player.title = u"1. 英语听力 第一课 - Winamp"; }

    void ExpectRange(int max)
    {
        int low = -1, high = -1;
        PumpUntil([&] {
            SendMessageW(Control(IDC_SEEK_BAR), SBM_GETRANGE, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
            return low == 0 && high == max;
        });
        EXPECT_EQ(low, 0);
        EXPECT_EQ(high, max);
    }
    // The player moves on; every time line follows it.
    void ExpectClockFollowed(int length_sec, int mark_ms, int position_ms)
    {
        player.position = position_ms;
        ExpectShows(IDC_TIME_LINE, TimeLine(length_sec, position_ms / 1000));
        ExpectShows(IDC_MARK_LINE, MarkLine(mark_ms, position_ms));
    }
    void ExpectSent(int id, const std::string& command)
    {
        Click(id);
        ASSERT_FALSE(player.Commands().empty());
        EXPECT_EQ(player.Commands().back(), command);
    }
    std::wstring Title() { return std::wstring(player.title.begin(), player.title.end()); }
};

TEST_F(Tick, FollowsThePlayerThroughPlayPauseAnotherTrackStopAndItsEnd)
{
    ExpectShows(IDC_STATE_LINE, kPlaying);
    ExpectShows(Main(), Title());
    ExpectShows(IDC_PLAYER_FRAME, L"Winamp控制区");
    ExpectRange(245);
    ExpectClockFollowed(245, 0, 3456);
    ExpectClockFollowed(245, 0, 4567);
    // The frame of the transport buttons names the player in use.
    player.name = u"PotPlayer";
    ExpectShows(IDC_PLAYER_FRAME, L"PotPlayer控制区");
    player.name = u"Winamp";
    ExpectShows(IDC_PLAYER_FRAME, L"Winamp控制区");

    // Paused: the lines stand at the player's position; 定位 marks it.
    ExpectSent(IDC_PAUSE, "pause");
    player.state = PlayState::Paused;
    ExpectShows(IDC_STATE_LINE, kPaused);
    ExpectClockFollowed(245, 0, 83456);
    Click(IDC_MARK);
    ExpectShows(IDC_MARK_LINE, MarkLine(83456, 83456));

    // The long track, still paused: its length, the mark kept, and seek_bar keeps
    // the range of the last playing tick.
    ExpectSent(IDC_NEXT, "next");
    player.title = kLongTitle;
    player.length = kLongLengthSec;
    player.position = 0;
    ExpectShows(Main(), Title());
    ExpectShows(IDC_TIME_LINE, TimeLine(kLongLengthSec, 0));
    ExpectShows(IDC_MARK_LINE, MarkLine(83456, 0));
    ExpectRange(245);

    // Playing it: the range stops at 32767 s, the times go on.
    ExpectSent(IDC_PLAY, "play");
    player.state = PlayState::Playing;
    ExpectShows(IDC_STATE_LINE, kPlaying);
    ExpectRange(32767);
    ExpectClockFollowed(kLongLengthSec, 83456, 1234);

    ExpectSent(IDC_STOP, "stop");
    player.state = PlayState::Stopped;
    player.position = 0;
    ExpectShows(IDC_STATE_LINE, kStopped);
    ExpectShows(IDC_TIME_LINE, TimeLine(kLongLengthSec, 0));

    // The player goes away while playing: zeros and the stopped line; the
    // caption keeps the last title.
    player.state = PlayState::Playing;
    player.position = 5000;
    ExpectShows(IDC_STATE_LINE, kPlaying);
    player.running = false;
    ExpectShows(IDC_STATE_LINE, kStopped);
    ExpectShows(IDC_TIME_LINE, TimeLine(0, 0));
    ExpectShows(IDC_MARK_LINE, MarkLine(83456, 0));
    ExpectShows(Main(), Title());
}

// Far past 32767 s on a long track every line still follows.
TEST_F(Tick, FollowsALongTrackPast32767Seconds)
{
    player.title = kLongTitle;
    player.length = kLongLengthSec;
    player.position = 33000000;  // [550:00]
    ExpectShows(Main(), Title());
    ExpectShows(IDC_STATE_LINE, kPlaying);
    ExpectRange(32767);
    ExpectClockFollowed(kLongLengthSec, 0, 33000000);
    ExpectClockFollowed(kLongLengthSec, 0, 33001234);

    // A shorter track: the control pulls its value into the new range,
    // which counts as a change.
    SendMessageW(Control(IDC_SEEK_BAR), SBM_SETPOS, 30000, TRUE);
    player.length = 245;
    ExpectRange(245);
    EXPECT_EQ(SendMessageW(Control(IDC_SEEK_BAR), SBM_GETPOS, 0, 0), 245);
    ExpectShows(IDC_SEEK_TIME, L"[004:05]");
}

} // namespace
} // namespace morvane::test
