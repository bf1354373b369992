#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes.h"

namespace morvane::test {
namespace {

using Log = std::vector<std::string>;

struct KeyRig : Rig {
    KeyRig()
    {
        EXPECT_TRUE(form.Form_Load());
        player.position = 10000;
    }
    Log PressAndTick(int vk)
    {
        keyboard.Press(vk);
        form.Timer1_Timer();
        keyboard.Release(vk);
        return player.Commands();
    }
};

TEST(Form1HotKeys, EachKeyRunsItsButton)
{
    const struct {
        int vk;
        Log commands;
    } cases[] = {
        {80, {"play"}},         {83, {"stop"}},         {72, {"pause"}},
        {85, {"prev"}},         {78, {"next"}},         {188, {"jump 8000"}},
        {190, {"jump 12000"}},  {16, {"jump 0"}},       {160, {"jump 0"}},
    };
    for (const auto& c : cases) {
        KeyRig r;
        EXPECT_EQ(r.PressAndTick(c.vk), c.commands) << "key " << c.vk;
    }

    // Ctrl (either side) sets the mark, and Shift then repeats from it.
    KeyRig r;
    r.PressAndTick(163);
    EXPECT_EQ(r.form.mark_Ms(), 10000);
    EXPECT_EQ(r.form.mark_Text(), u"[000:10:000]");
    r.player.position = 20000;
    EXPECT_EQ(r.PressAndTick(161), Log{"jump 10000"});
}

TEST(Form1HotKeys, OneHandlerPerTickInTableOrder)
{
    KeyRig r;
    r.keyboard.Press(83);
    r.keyboard.Press(80);
    r.form.Timer1_Timer();
    EXPECT_EQ(r.player.Commands(), Log{"play"});
    EXPECT_EQ(r.keyboard.queries, std::vector<int>{80});

    // S was never asked about, so its press is still there next tick.
    r.form.Timer1_Timer();
    EXPECT_EQ(r.player.Commands(), (Log{"play", "stop"}));

    // Held down: nothing more.
    r.form.Timer1_Timer();
    r.form.Timer1_Timer();
    EXPECT_EQ(r.player.Commands(), (Log{"play", "stop"}));
}

TEST(Form1HotKeys, ShiftAndCtrlQueryEverySideOnce)
{
    KeyRig r;
    r.form.Timer1_Timer();
    EXPECT_EQ(r.keyboard.queries,
              (std::vector<int>{80, 83, 72, 85, 78, 16, 160, 161, 17, 162, 163, 188, 190, 96}));

    // One press seen on the generic and the side code acts only once.
    r.keyboard.queries.clear();
    r.keyboard.Press(16);
    r.keyboard.Press(161);
    r.form.Timer1_Timer();
    EXPECT_EQ(r.keyboard.queries, (std::vector<int>{80, 83, 72, 85, 78, 16, 160, 161}));
    r.form.Timer1_Timer();
    EXPECT_EQ(r.player.Commands(), Log{"jump 0"});
}

TEST(Form1HotKeys, KeypadZeroRecordsAnEntry)
{
    KeyRig r;
    r.player.position = 83400;
    r.PressAndTick(96);
    ASSERT_EQ(r.List1.items.size(), 1u);
    EXPECT_EQ(r.List1.items[0], u"[001:23:400]");
    EXPECT_EQ(r.Text1.text, u"1");
    EXPECT_TRUE(r.Timer1.running);

    // Letters typed into the note are the note's: none reaches the player
    // once the prompt has closed and the tick runs again.
    r.c1.checked = true;
    r.window.during_prompt = [&] {
        for (int vk : {80, 83, 72, 85, 16}) r.keyboard.Press(vk);
    };
    r.PressAndTick(96);
    r.keyboard.Release(96);
    r.form.Timer1_Timer();
    EXPECT_EQ(r.List1.items.size(), 2u);
    EXPECT_TRUE(r.player.Commands().empty());
}

TEST(Form1HotKeys, PInTheListReachesThePlayerTwice)
{
    KeyRig r;
    r.keyboard.Press(80);
    EXPECT_TRUE(r.form.List1_KeyPress(80));
    r.form.Timer1_Timer();
    EXPECT_EQ(r.player.Commands(), (Log{"play", "play"}));
}

} // namespace
} // namespace morvane::test
