// The player failing under Morvane: killed while Morvane polls and started
// again, or hanging. Morvane keeps running and answering, does nothing
// harmful while the player is away, and finds the player again.

#include <algorithm>

#include "app/win32/control_ids.h"
#include "program_test.h"
#include "standin_protocol.h"

namespace morvane::e2e {
namespace {

// Starting or killing a player under Wine can take seconds.
constexpr DWORD kPlayerChangeMs = 10000;
constexpr DWORD kHangMs = 12000;

class Faults : public EachPlayerTest {
protected:
    // Every text Morvane shows, in one string, to see that nothing changed.
    std::wstring ShownTexts()
    {
        std::wstring all = TextOf(morvane->window).value_or(L"?");
        for (int id : {IDC_COUNT_LINE, IDC_STATE_LINE, IDC_TIME_LINE, IDC_MARK_LINE, IDC_SEEK_TIME})
            all += L"|" + TextOf(Control(id)).value_or(L"?");
        return all;
    }
    bool HangPlayer()
    {
        PostMessageW(player->window, STANDIN_HANG, kHangMs, 0);
        return PollUntil([&] { return !StandinState(player->window, 200); }, 3000);
    }
};

TEST_P(Faults, PlayerKilledThenStartedAgain)
{
    ASSERT_NO_FATAL_FAILURE(Start(L"--state play"));
    const HWND state_line = Control(IDC_STATE_LINE);
    ExpectShows(state_line, StateLine(Kind(), L"播放"));

    player->process.Kill();
    EXPECT_TRUE(PollUntil(NoPlayerRunning)) << "the stand-in's window is still there";
    ExpectShows(state_line, StateLine(Kind(), L"停止"), kPlayerChangeMs);

    // With no player every button that talks to it is handled and does
    // nothing: no message, no change of what the window shows.
    const std::wstring before = ShownTexts();
    for (int id : {IDC_PREVIOUS, IDC_PLAY, IDC_PAUSE, IDC_STOP, IDC_NEXT, IDC_BACK, IDC_FORWARD, IDC_REPEAT, IDC_JUMP})
        EXPECT_TRUE(Click(Control(id))) << "the click on " << id << " was not handled";
    Sleep(500);  // time for a wrong message or a late change to show
    EXPECT_TRUE(morvane->process.Running() && Send(morvane->window, WM_NULL)) << "it ended or does not answer";
    EXPECT_EQ(TopWindows(morvane->process.Id(), nullptr), std::vector<HWND>{morvane->window}) << "another window opened";
    EXPECT_EQ(ShownTexts(), before);

    // A new player, on another track so that its title differs.
    const auto second = StartPlayer(L"--state play --track 3", L"restarted");
    ASSERT_TRUE(second);
    ExpectShows(state_line, StateLine(Kind(), L"播放"), kPlayerChangeMs);
    ExpectShows(morvane->window, TextOf(second->window).value_or(L"?"), kPlayerChangeMs);
    EXPECT_TRUE(Click(Control(IDC_PAUSE)) && PollUntil([&] { return StandinState(second->window) == 3; }))
        << "暂停 did not reach the restarted player";
}

// While the player hangs the window answers, 记录 works with the position it
// does not give (0), the read-outs come back once it answers, and the window
// still closes while it hangs.
TEST_P(Faults, PlayerHangs)
{
    ASSERT_NO_FATAL_FAILURE(Start(L"--state play"));
    ExpectShows(Control(IDC_STATE_LINE), StateLine(Kind(), L"播放"));
    const ULONGLONG hang_start = GetTickCount64();
    ASSERT_TRUE(HangPlayer()) << "the stand-in still answers";

    // Posted, so it waits its turn between ticks like a user's click.
    PostClick(Control(IDC_RECORD));
    const HWND list = Control(IDC_MARK_LIST);
    EXPECT_TRUE(PollUntil([&] { return ListEntries(list) == std::vector<std::wstring>{L"[000:00:000]"}; }, 8000));
    ExpectShows(Control(IDC_COUNT_LINE), L"1");
    EXPECT_EQ(ListSelection(list), 0);

    // Sent messages reach Morvane even while it waits on the player; its
    // own queue moves too, or the posted click above would not have.
    int unanswered = 0;
    ULONGLONG slowest = 0;
    for (const ULONGLONG until = GetTickCount64() + 3000; GetTickCount64() < until; Sleep(200)) {
        const ULONGLONG start = GetTickCount64();
        unanswered += !Send(morvane->window, WM_NULL, 0, 0, 1000);
        slowest = std::max(slowest, GetTickCount64() - start);
    }
    EXPECT_EQ(unanswered, 0) << "the slowest answer took " << slowest << " ms";
    EXPECT_FALSE(StandinState(player->window)) << "the player answered too early for these checks";

    const ULONGLONG hung_for = GetTickCount64() - hang_start;
    ExpectShows(Control(IDC_STATE_LINE), StateLine(Kind(), L"播放"), static_cast<DWORD>(kHangMs - std::min<ULONGLONG>(kHangMs, hung_for)) + kPlayerChangeMs);

    ASSERT_TRUE(HangPlayer()) << "the stand-in does not hang a second time";
    PostMessageW(morvane->window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(morvane->process.WaitExit(4000)) << "still running 4 s after WM_CLOSE";
}

INSTANTIATE_TEST_SUITE_P(EachPlayer, Faults, ::testing::ValuesIn(PlayerKinds()), KindName);

} // namespace
} // namespace morvane::e2e
