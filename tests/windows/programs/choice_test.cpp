// Which player Morvane drives when several run: the one playing, or the one
// --player names.

#include "app/win32/control_ids.h"
#include "program_test.h"

namespace morvane::e2e {
namespace {

using TwoPlayers = ProgramTest;

TEST_F(TwoPlayers, ThePlayingOneOrTheOneNamed)
{
    auto potplayer = StartPlayerAs(PotPlayerKind(), L"--state pause", L"potplayer");
    auto aimp = StartPlayerAs(AimpKind(), L"--state play --track 3", L"aimp");
    ASSERT_TRUE(potplayer && aimp);
    std::string failure;
    morvane = StartMorvane(failure);
    ASSERT_TRUE(morvane) << failure;
    ExpectShows(Control(IDC_STATE_LINE), StateLine(AimpKind(), L"播放"));
    ExpectShows(morvane->window, TextOf(aimp->window).value_or(L"?"));
    std::size_t potplayer_mark = potplayer->log.Mark();
    ASSERT_TRUE(Click(Control(IDC_PAUSE)));
    EXPECT_TRUE(PollUntil([&] { return StandinState(aimp->window) == 3; })) << "暂停 did not reach AIMP";
    EXPECT_EQ(potplayer->log.CommandsSince(potplayer_mark), std::vector<std::string>{});

    morvane.reset();
    morvane = StartMorvane(failure, L"--player potplayer");
    ASSERT_TRUE(morvane) << failure;
    ExpectShows(Control(IDC_STATE_LINE), StateLine(PotPlayerKind(), L"暂停"));
    const std::size_t aimp_mark = aimp->log.Mark();
    ASSERT_TRUE(Click(Control(IDC_PLAY)));
    EXPECT_TRUE(PollUntil([&] { return StandinState(potplayer->window) == 1; })) << "播放 did not reach PotPlayer";
    EXPECT_TRUE(aimp->log.LinesSince(aimp_mark).empty()) << "Morvane still talks to AIMP";
}

// A paused player does not take over from a stopped one in use: only one that plays does.
TEST_F(TwoPlayers, StoppingTheOneInUseKeepsItBesideAPausedOne)
{
    auto winamp = StartPlayerAs(WinampKind(), L"--state pause", L"winamp");
    auto aimp = StartPlayerAs(AimpKind(), L"--state play", L"aimp");
    ASSERT_TRUE(winamp && aimp);
    std::string failure;
    morvane = StartMorvane(failure);
    ASSERT_TRUE(morvane) << failure;
    ExpectShows(Control(IDC_STATE_LINE), StateLine(AimpKind(), L"播放"));
    const std::size_t winamp_mark = winamp->log.Mark();
    ASSERT_TRUE(Click(Control(IDC_STOP)));
    ExpectShows(Control(IDC_STATE_LINE), StateLine(AimpKind(), L"停止"));
    Sleep(300);
    ASSERT_TRUE(Click(Control(IDC_PLAY)));
    EXPECT_TRUE(PollUntil([&] { return StandinState(aimp->window) == 1; })) << "播放 did not reach AIMP";
    EXPECT_EQ(winamp->log.CommandsSince(winamp_mark), std::vector<std::string>{}) << "Morvane turned to Winamp";
}

} // namespace
} // namespace morvane::e2e
