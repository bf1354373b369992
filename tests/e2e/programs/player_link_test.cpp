// What Morvane sends the player between the processes: the tick's queries,
// and one Winamp message for each button that talks to the player.

#include <algorithm>

#include "app/win32/control_ids.h"
#include "program_test.h"

namespace morvane::e2e {
namespace {

using PlayerLink = ProgramTest;

TEST_F(PlayerLink, TheTickAsksAndEachButtonSendsItsOneMessage)
{
    ASSERT_NO_FATAL_FAILURE(Start(L"--state pause --position 1500"));

    // State, position, length and the title read, whose lParam is a pointer.
    const std::size_t start = player->log.Mark();
    std::vector<std::string> missing;
    PollUntil([&] {
        const auto lines = player->log.LinesSince(start);
        missing.clear();
        for (const std::string want : {"1024 0 104", "1024 0 105", "1024 1 105", "13 64000 "})
            if (std::none_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(want, 0) == 0; }))
                missing.push_back(want);
        return missing.empty();
    });
    EXPECT_EQ(missing, std::vector<std::string>{}) << "the tick never asked these";

    // From a paused, known position the seek steps have exact targets, a
    // negative one included: 快退 at 1500 ms, then 快进 at 0 ms.
    const struct {
        int id;
        std::string message;
    } buttons[] = {{IDC_BACK, "1024 -500 106"},   {IDC_FORWARD, "1024 2000 106"}, {IDC_PREVIOUS, "273 40044 0"},
                   {IDC_PLAY, "273 40045 0"},     {IDC_PAUSE, "273 40046 0"},     {IDC_STOP, "273 40047 0"},
                   {IDC_NEXT, "273 40048 0"}};
    for (const auto& button : buttons) {
        const std::size_t mark = player->log.Mark();
        ASSERT_TRUE(Click(Control(button.id))) << button.message;
        EXPECT_EQ(player->log.CommandsSettled(mark), std::vector<std::string>{button.message});
    }
}

} // namespace
} // namespace morvane::e2e
