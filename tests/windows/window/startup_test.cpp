// Start-up without a player: the information box with its one button, and
// the window never shows.

#include "rig.h"

namespace morvane::test {
namespace {

class Startup : public WindowRig {
protected:
    Startup()
    {
        auto_start = false;
        player.running = false;
    }
};

TEST_F(Startup, WithoutAPlayerAnInformationBoxWithOneButton)
{
    BoxSeen seen;
    AnswerBox(IDOK, &seen);
    std::wstring failure;
    EXPECT_FALSE(app.Start(failure));
    EXPECT_EQ(failure, L"") << "a failure of its own was reported";
    EXPECT_EQ(seen.title, L"提示");
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_INFORMATION));
    EXPECT_FALSE(IsWindowVisible(Main()));
}

} // namespace
} // namespace morvane::test
