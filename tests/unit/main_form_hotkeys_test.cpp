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
    Log PressAndTick(HotKey action)
    {
        hot_keys.Press(action);
        form.Poll_Tick();
        return player.Commands();
    }
};

TEST(MainFormHotKeys, EachKeyRunsItsButton)
{
    const struct {
        HotKey action;
        Log commands;
    } cases[] = {
        {HotKey::Play, {"play"}},         {HotKey::Stop, {"stop"}},    {HotKey::Pause, {"pause"}},
        {HotKey::Previous, {"prev"}},     {HotKey::Next, {"next"}},    {HotKey::Back, {"jump 8000"}},
        {HotKey::Forward, {"jump 12000"}}, {HotKey::Repeat, {"jump 0"}},
    };
    for (const auto& c : cases) {
        KeyRig r;
        EXPECT_EQ(r.PressAndTick(c.action), c.commands) << "action " << static_cast<int>(c.action);
    }

    // Mark sets the mark, and Repeat then repeats from it.
    KeyRig r;
    r.PressAndTick(HotKey::Mark);
    EXPECT_EQ(r.form.mark_ms(), 10000);
    EXPECT_EQ(r.form.mark_text(), u"[000:10:000]");
    r.player.position = 20000;
    EXPECT_EQ(r.PressAndTick(HotKey::Repeat), Log{"jump 10000"});
}

TEST(MainFormHotKeys, OneHandlerPerTickInTableOrder)
{
    // The same whether or not the source can tell that no input came since.
    for (const bool tells_input : {false, true}) {
        KeyRig r;
        r.hot_keys.tells_input = tells_input;
        r.form.Poll_Tick();
        r.hot_keys.Press(HotKey::Stop);
        r.hot_keys.Press(HotKey::Play);
        r.form.Poll_Tick();
        EXPECT_EQ(r.player.Commands(), Log{"play"});

        // Stop was never asked about, so its press is still there next tick.
        r.form.Poll_Tick();
        EXPECT_EQ(r.player.Commands(), (Log{"play", "stop"}));

        // Held down: nothing more.
        r.form.Poll_Tick();
        r.form.Poll_Tick();
        EXPECT_EQ(r.player.Commands(), (Log{"play", "stop"})) << tells_input;
    }
}

TEST(MainFormHotKeys, KeypadZeroRecordsAnEntry)
{
    KeyRig r;
    r.player.position = 83400;
    r.PressAndTick(HotKey::Record);
    ASSERT_EQ(r.list_box.items.size(), 1u);
    EXPECT_EQ(r.list_box.items[0], u"[001:23:400]");
    EXPECT_EQ(r.count_line.text, u"1");
    EXPECT_TRUE(r.poll_clock.running);

    // Letters typed into the note are the note's: none reaches the player
    // once the prompt has closed and the tick runs again.
    r.ask_note.checked = true;
    r.window.during_prompt = [&] {
        for (HotKey action : {HotKey::Play, HotKey::Stop, HotKey::Pause, HotKey::Previous, HotKey::Repeat})
            r.hot_keys.Press(action);
    };
    r.PressAndTick(HotKey::Record);
    r.form.Poll_Tick();
    EXPECT_EQ(r.list_box.items.size(), 2u);
    EXPECT_TRUE(r.player.Commands().empty());
}

TEST(MainFormHotKeys, PInTheListReachesThePlayerTwice)
{
    KeyRig r;
    r.hot_keys.Press(HotKey::Play);
    EXPECT_TRUE(r.form.Mark_List_KeyPress(80));
    r.form.Poll_Tick();
    EXPECT_EQ(r.player.Commands(), (Log{"play", "play"}));
}

} // namespace
} // namespace morvane::test
