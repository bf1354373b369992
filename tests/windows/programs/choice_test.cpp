// Which player Morvane drives when several run: the one playing, or the one
// --player names.

#include "app/win32/control_ids.h"
#include "program_test.h"

namespace morvane::e2e {
namespace {

class TwoPlayers : public ProgramTest {
protected:
    // A paused `other` and a playing AIMP: Morvane starts on AIMP.
    void StartBeside(const PlayerKind& kind, const wchar_t* name, const std::wstring& aimp_options)
    {
        other = StartPlayerAs(kind, L"--state pause", name);
        aimp = StartPlayerAs(AimpKind(), aimp_options, L"aimp");
        ASSERT_TRUE(other && aimp);
        morvane = StartMorvane(failure);
        ASSERT_TRUE(morvane) << failure;
        ExpectShows(Control(IDC_STATE_LINE), StateLine(AimpKind(), L"播放"));
    }

    std::optional<Standin> other, aimp;
    std::string failure;
};

TEST_F(TwoPlayers, ThePlayingOneOrTheOneNamed)
{
    ASSERT_NO_FATAL_FAILURE(StartBeside(PotPlayerKind(), L"potplayer", L"--state play --track 3"));
    auto& potplayer = other;
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
    ASSERT_NO_FATAL_FAILURE(StartBeside(WinampKind(), L"winamp", L"--state play"));
    auto& winamp = other;
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
