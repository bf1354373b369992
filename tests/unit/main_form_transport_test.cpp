#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "app/layout/control_ids.h"
#include "fakes.h"

namespace morvane::test {
namespace {

using Log = std::vector<std::string>;

TEST(MainFormTransport, ButtonsSendOneCommandEach)
{
    const struct {
        void (MainForm::*click)();
        const char* command;
    } cases[] = {
        {&MainForm::Play_Click, "play"}, {&MainForm::Pause_Click, "pause"}, {&MainForm::Stop_Click, "stop"},
        {&MainForm::Previous_Click, "prev"},  {&MainForm::Next_Click, "next"},
    };
    for (const auto& c : cases) {
        Rig r;
        (r.form.*c.click)();
        EXPECT_EQ(r.player.log, Log{c.command});
    }
}

// Enter presses the focused control when it is a button, and nothing else.
TEST(MainFormTransport, EnterPressesTheFocusedButton)
{
    Rig r;
    EXPECT_TRUE(r.form.Window_EnterPress(IDC_STOP));
    EXPECT_EQ(r.player.log, Log{"stop"});
    for (int id : {IDC_MARK_LIST, IDC_ASK_NOTE, IDC_SEEK_TIME, 0}) EXPECT_FALSE(r.form.Window_EnterPress(id));
    EXPECT_EQ(r.player.log, Log{"stop"});
}

TEST(MainFormTransport, StepsJumpTwoSecondsUnbounded)
{
    Rig r;
    r.player.position = 1500;
    r.form.Back_Click();
    r.form.Forward_Click();
    EXPECT_EQ(r.player.jumps, (std::vector<std::int32_t>{-500, 3500}));

    // At the ends of the 32-bit range the target stops instead of wrapping.
    r.player.jumps.clear();
    r.player.position = std::numeric_limits<std::int32_t>::min() + 1000;
    r.form.Back_Click();
    r.player.position = std::numeric_limits<std::int32_t>::max() - 1000;
    r.form.Forward_Click();
    EXPECT_EQ(r.player.jumps, (std::vector<std::int32_t>{std::numeric_limits<std::int32_t>::min(),
                                                          std::numeric_limits<std::int32_t>::max()}));
}

TEST(MainFormTransport, MarkAndRepeat)
{
    Rig r;
    r.form.Repeat_Click();
    EXPECT_EQ(r.player.jumps, std::vector<std::int32_t>{0});

    // The clock moves 7 ms between queries: the stamp shows the first, the
    // repeat goes to the second.
    r.player.position = 12300;
    r.player.on_query = [&] { r.player.position += 7; };
    r.player.log.clear();
    r.form.Mark_Click();
    EXPECT_EQ(r.player.log, (Log{"position", "position"}));
    EXPECT_EQ(r.form.mark_text(), u"[000:12:300]");
    EXPECT_EQ(r.form.mark_ms(), 12307);
    r.form.Repeat_Click();
    EXPECT_EQ(r.player.jumps.back(), 12307);
}

TEST(MainFormTransport, ScrollBarJumpAndReadOut)
{
    Rig r;
    r.seek_bar.value = 125;
    r.form.Jump_Click();
    EXPECT_EQ(r.player.jumps, std::vector<std::int32_t>{125000});
    r.form.Seek_Bar_Scroll();
    EXPECT_EQ(r.seek_time.text, u"[002:05]");
    r.seek_bar.value = 32767;
    r.form.Seek_Bar_Change();
    EXPECT_EQ(r.seek_time.text, u"[546:07]");
}

TEST(MainFormTransport, JumpToTheSelectedEntry)
{
    Rig r;
    r.Show({u"[001:02:345] 注释:abc", u"", u"hello, no stamp here", u"[1000:00:000]",
                     u"[000:00:500]"});
    r.form.Mark_List_Click(0);
    r.form.Mark_List_DblClick();
    EXPECT_EQ(r.player.jumps, std::vector<std::int32_t>{62345});

    for (int unusable : {1, 2, 3, -1}) {
        r.form.Mark_List_Click(unusable);
        r.form.Mark_List_DblClick();
        EXPECT_TRUE(r.form.Mark_List_KeyPress(13));
    }
    EXPECT_EQ(r.player.jumps, std::vector<std::int32_t>{62345});

    r.form.Mark_List_Click(4);
    EXPECT_TRUE(r.form.Mark_List_KeyPress(13));
    EXPECT_EQ(r.player.jumps, (std::vector<std::int32_t>{62345, 500}));

    Rig empty;
    empty.form.Mark_List_DblClick();
    EXPECT_TRUE(empty.player.log.empty());
}

TEST(MainFormTransport, ListKeysUpperCaseOnly)
{
    Rig r;
    for (int code : {'D', 'H', 'P', 'S', 'U'}) EXPECT_TRUE(r.form.Mark_List_KeyPress(code));
    // p, d, s, N, space, NUL
    for (int code : {112, 100, 115, 78, 32, 0}) EXPECT_FALSE(r.form.Mark_List_KeyPress(code));
    EXPECT_EQ(r.player.Commands(), (Log{"next", "pause", "play", "stop", "prev"}));
}

} // namespace
} // namespace morvane::test
