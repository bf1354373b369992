// The choice among players: the rule alone, and Winamp, PotPlayer and AIMP
// over three fake players (what crossing processes would add is proven by
// the Windows programs' tests).

#include <gtest/gtest.h>

#include "fakes.h"
#include "player/choose_player.h"
#include "player/player_choice.h"

namespace morvane::test {
namespace {

class ChoiceAmongPlayers : public ::testing::Test {
protected:
    ChoiceAmongPlayers()
    {
        for (FakePlayer* fake : {&winamp, &potplayer, &aimp}) fake->running = false;
        potplayer.name = u"PotPlayer";
        aimp.name = u"AIMP";
    }
    std::vector<Candidate> Candidates()
    {
        return {{u"winamp", &winamp}, {u"potplayer", &potplayer}, {u"aimp", &aimp}};
    }
    void Run(FakePlayer& fake, PlayState state)
    {
        fake.running = true;
        fake.state = state;
    }

    FakePlayer winamp, potplayer, aimp;
};

// The rule both the Windows choice and the MPRIS link follow.
TEST(ChoosePlayer, ThePlayingOneElseTheOneInUseElseTheFirst)
{
    using enum PlayState;
    const struct {
        std::vector<PlayState> states;
        std::optional<std::size_t> in_use, chosen;
    } cases[] = {
        {{}, std::nullopt, std::nullopt},
        {{Stopped}, std::nullopt, 0},
        {{Stopped, Paused, Playing}, std::nullopt, 2},
        {{Stopped, Paused}, std::nullopt, 0},
        {{Paused, Playing}, 0, 0},
        {{Unknown, Playing}, 0, 0},
        {{Stopped, Playing, Playing}, 0, 1},
        {{Paused, Stopped}, 1, 1},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        EXPECT_EQ(ChoosePlayer(c.states.size(), c.in_use, [&](std::size_t k) { return c.states[k]; }), c.chosen)
            << "case " << i;
    }
}

TEST_F(ChoiceAmongPlayers, ThePlayingOneElseTheFirstFoundAndTheOneInUseStaysWhileNotStopped)
{
    PlayerChoice choice(Candidates(), std::nullopt);
    choice.Refresh();
    EXPECT_EQ(choice.FindPlayer(), 0u);
    EXPECT_EQ(choice.NotFoundMessage(), u"没有找到正在运行的播放器!\r\n请先打开Winamp、PotPlayer或AIMP");

    // One player alone is taken without a question.
    Run(potplayer, PlayState::Paused);
    choice.Refresh();
    EXPECT_EQ(choice.Name(), u"PotPlayer");
    EXPECT_TRUE(potplayer.log.empty());

    Run(aimp, PlayState::Playing);
    choice.Refresh();
    EXPECT_EQ(choice.Name(), u"PotPlayer") << "a paused player in use stays";
    potplayer.state = PlayState::Stopped;
    choice.Refresh();
    EXPECT_EQ(choice.Name(), u"AIMP") << "a stopped one gives way to one that plays";
    choice.CmdPause();
    EXPECT_EQ(aimp.Commands(), std::vector<std::string>{"pause"});
    // Every question goes to the one in use, those with a default answer too.
    aimp.speed = 1.0;
    choice.SetSpeed(0.75);
    EXPECT_TRUE(choice.CanChangeSpeed());
    EXPECT_EQ(choice.Speed(), 0.75);

    // When it goes, the only other one is taken; when none is left the last
    // one stays, answering as a missing player does.
    aimp.running = false;
    choice.Refresh();
    EXPECT_EQ(choice.Name(), u"PotPlayer");
    potplayer.running = false;
    choice.Refresh();
    EXPECT_EQ(choice.Name(), u"PotPlayer");
    EXPECT_EQ(choice.FindPlayer(), 0u);

    // None playing: the first in the order Winamp, PotPlayer, AIMP.
    PlayerChoice fresh(Candidates(), std::nullopt);
    Run(aimp, PlayState::Paused);
    Run(winamp, PlayState::Stopped);
    fresh.Refresh();
    EXPECT_EQ(fresh.Name(), u"Winamp");
}

TEST_F(ChoiceAmongPlayers, PlayerOptionDrivesThatOneAlone)
{
    const auto wanted = [&](std::optional<std::u16string> wish) { return WantedCandidate(wish, Candidates()); };
    EXPECT_EQ(wanted(std::nullopt), std::nullopt);
    EXPECT_EQ(wanted(u"AIMP"), 2u);
    EXPECT_EQ(wanted(u"vlc"), 3u);
    EXPECT_EQ(wanted(u""), 3u);

    Run(aimp, PlayState::Playing);
    PlayerChoice potplayer_only(Candidates(), 1u);
    potplayer_only.Refresh();
    EXPECT_EQ(potplayer_only.FindPlayer(), 0u) << "AIMP plays, but PotPlayer was asked for";
    EXPECT_EQ(potplayer_only.NotFoundMessage(), potplayer.NotFoundMessage());
    Run(potplayer, PlayState::Stopped);
    potplayer_only.Refresh();
    EXPECT_NE(potplayer_only.FindPlayer(), 0u);
    EXPECT_EQ(potplayer_only.Name(), u"PotPlayer");

    PlayerChoice unknown(Candidates(), 3u);
    unknown.Refresh();
    EXPECT_EQ(unknown.FindPlayer(), 0u);
    EXPECT_EQ(unknown.NotFoundMessage(),
              u"--player 后面应是 winamp、potplayer 或 aimp\r\n例如 morvane.exe --player potplayer");
}

} // namespace
} // namespace morvane::test
