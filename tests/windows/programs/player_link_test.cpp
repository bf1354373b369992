// What Morvane shows of each player and sends it between the processes: the
// tick's queries, and one message of the player's own table for each button
// that talks to it.

#include <algorithm>
#include <map>

#include "app/win32/control_ids.h"
#include "program_test.h"

namespace morvane::e2e {
namespace {

using PlayerLink = EachPlayerTest;

// 快退, 快进, 前首, 播放, 暂停, 停止, 下首, in this order, from a paused 1500 ms.
// PotPlayer and AIMP are given no time before the start; PotPlayer's 播放
// resumes by setting the state and its 暂停 toggles it (each after a state
// query, which the tick sends too).
const std::map<std::wstring, std::vector<std::string>> kButtonMessages = {
    {L"winamp", {"1024 -500 106", "1024 2000 106", "273 40044 0", "273 40045 0", "273 40046 0", "273 40047 0", "273 40048 0"}},
    {L"potplayer",
     {"1024 20485 0", "1024 20485 2000", "1024 20488 0", "1024 20487 2", "1024 20487 0", "273 20002 0", "1024 20488 1"}},
    {L"aimp", {"1143 33 0", "1143 33 2000", "1141 18 0", "1141 13 0", "1141 15 0", "1141 16 0", "1141 17 0"}},
};

TEST_P(PlayerLink, ShowsThePlayerAndEachButtonSendsItsOneMessage)
{
    ASSERT_NO_FATAL_FAILURE(Start(L"--state pause --position 1500"));
    ExpectShows(Control(IDC_STATE_LINE), StateLine(Kind(), L"暂停"));
    ExpectShows(Control(IDC_TIME_LINE), L"总时间:" + ShortTime(245) + L"<==>当前时间:" + ShortTime(1));
    ExpectShows(morvane->window, TextOf(player->window).value_or(L"?"));

    // State, position, length and the title read, whose lParam is a pointer.
    const std::size_t start = player->log.Mark();
    std::vector<std::string> wanted = Kind().tick_queries;
    if (!Kind().title_read.empty()) wanted.push_back(Kind().title_read);
    std::vector<std::string> missing;
    PollUntil([&] {
        const auto lines = player->log.LinesSince(start);
        missing.clear();
        for (const std::string& want : wanted)
            if (std::none_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(want, 0) == 0; }))
                missing.push_back(want);
        return missing.empty();
    });
    EXPECT_EQ(missing, std::vector<std::string>{}) << "the tick never asked these";

    // From a paused, known position the seek steps have exact targets, a
    // negative one included: 快退 at 1500 ms, then 快进 at 0 ms.
    const int buttons[] = {IDC_BACK, IDC_FORWARD, IDC_PREVIOUS, IDC_PLAY, IDC_PAUSE, IDC_STOP, IDC_NEXT};
    const std::vector<std::string>& messages = kButtonMessages.at(Kind().option);
    for (std::size_t i = 0; i < std::size(buttons); ++i) {
        const std::size_t mark = player->log.Mark();
        ASSERT_TRUE(Click(Control(buttons[i]))) << messages[i];
        EXPECT_EQ(player->log.CommandsSettled(mark), std::vector<std::string>{messages[i]});
    }
}

INSTANTIATE_TEST_SUITE_P(EachPlayer, PlayerLink, ::testing::ValuesIn(PlayerKinds()), KindName);

} // namespace
} // namespace morvane::e2e
