// PotPlayer's 暂停 toggles as Winamp's does and, like Winamp's, leaves a
// stopped player stopped: from the button and from the pause for a note.

#include "app/win32/control_ids.h"
#include "program_test.h"

namespace morvane::e2e {
namespace {

class PotPlayerPause : public ProgramTest {
protected:
    const PlayerKind& Kind() const override { return PotPlayerKind(); }
};

TEST_F(PotPlayerPause, PausesResumesAndLeavesAStoppedPlayerStopped)
{
    ASSERT_NO_FATAL_FAILURE(Start(L"--state play"));
    ExpectShows(Control(IDC_STATE_LINE), StateLine(Kind(), L"播放"));
    // The stand-in's states: 1 playing, 3 paused, 0 stopped.
    ASSERT_TRUE(Click(Control(IDC_PAUSE)));
    EXPECT_TRUE(PollUntil([&] { return StandinState(player->window) == 3; })) << "暂停 did not pause a playing PotPlayer";
    ASSERT_TRUE(Click(Control(IDC_PAUSE)));
    EXPECT_TRUE(PollUntil([&] { return StandinState(player->window) == 1; })) << "暂停 did not resume a paused PotPlayer";

    ASSERT_TRUE(Click(Control(IDC_STOP)));
    ASSERT_TRUE(PollUntil([&] { return StandinState(player->window) == 0; }));
    ASSERT_TRUE(Click(Control(IDC_PAUSE)));
    Sleep(300);
    EXPECT_EQ(StandinState(player->window), 0) << "暂停 started a stopped PotPlayer";

    // 记录 with a note and the pause for it: the player stays stopped while the note is asked.
    ASSERT_TRUE(Click(Control(IDC_ASK_NOTE)) && Click(Control(IDC_PAUSE_FOR_NOTE)));
    ASSERT_TRUE(PostClick(Control(IDC_RECORD)));
    const HWND prompt = WaitForDialog(morvane->window, IDC_PROMPT_EDIT);
    ASSERT_NE(prompt, nullptr) << "no note was asked";
    Sleep(300);
    EXPECT_EQ(StandinState(player->window), 0) << "the pause for a note started a stopped PotPlayer";
    EXPECT_TRUE(CloseWith(prompt, IDCANCEL));
}

} // namespace
} // namespace morvane::e2e
