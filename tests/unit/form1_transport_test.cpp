#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "fakes.h"

namespace morvane::test {
namespace {

using Log = std::vector<std::string>;

TEST(Form1Transport, ButtonsSendOneCommandEach)
{
    const struct {
        void (Form1::*click)();
        const char* command;
    } cases[] = {
        {&Form1::C_Play_Click, "play"}, {&Form1::C_pause_Click, "pause"}, {&Form1::C_stop_Click, "stop"},
        {&Form1::C_Pre_Click, "prev"},  {&Form1::C_next_Click, "next"},
    };
    for (const auto& c : cases) {
        Rig r;
        (r.form.*c.click)();
        EXPECT_EQ(r.player.log, Log{c.command});
    }
}

TEST(Form1Transport, StepsJumpTwoSecondsUnbounded)
{
    Rig r;
    r.player.position = 1500;
    r.form.Command1_Click();
    r.form.Command2_Click();
    EXPECT_EQ(r.player.jumps, (std::vector<std::int32_t>{-500, 3500}));

    // At the ends of the 32-bit range the target stops instead of wrapping.
    r.player.jumps.clear();
    r.player.position = std::numeric_limits<std::int32_t>::min() + 1000;
    r.form.Command1_Click();
    r.player.position = std::numeric_limits<std::int32_t>::max() - 1000;
    r.form.Command2_Click();
    EXPECT_EQ(r.player.jumps, (std::vector<std::int32_t>{std::numeric_limits<std::int32_t>::min(),
                                                          std::numeric_limits<std::int32_t>::max()}));
}

TEST(Form1Transport, MarkAndRepeat)
{
    Rig r;
    r.form.Command5_Click();
    EXPECT_EQ(r.player.jumps, std::vector<std::int32_t>{0});

    // The clock moves 7 ms between queries: the stamp shows the first, the
    // repeat goes to the second.
    r.player.position = 12300;
    r.player.on_query = [&] { r.player.position += 7; };
    r.player.log.clear();
    r.form.Command4_Click();
    EXPECT_EQ(r.player.log, (Log{"position", "position"}));
    EXPECT_EQ(r.form.mark_Text(), u"[000:12:300]");
    EXPECT_EQ(r.form.mark_Ms(), 12307);
    r.form.Command5_Click();
    EXPECT_EQ(r.player.jumps.back(), 12307);
}

TEST(Form1Transport, ScrollBarJumpAndReadOut)
{
    Rig r;
    r.h1.value = 125;
    r.form.Command6_Click();
    EXPECT_EQ(r.player.jumps, std::vector<std::int32_t>{125000});
    r.form.h1_Scroll();
    EXPECT_EQ(r.Text5.text, u"[002:05]");
    r.h1.value = 32767;
    r.form.h1_Change();
    EXPECT_EQ(r.Text5.text, u"[546:07]");
}

TEST(Form1Transport, JumpToTheSelectedEntry)
{
    Rig r;
    r.Show({u"[001:02:345] 注释:abc", u"", u"hello, no stamp here", u"[1000:00:000]",
                     u"[000:00:500]"});
    r.List1.selected = 0;
    r.form.List1_DblClick();
    EXPECT_EQ(r.player.jumps, std::vector<std::int32_t>{62345});

    for (int unusable : {1, 2, 3, -1}) {
        r.List1.selected = unusable;
        r.form.List1_DblClick();
        EXPECT_TRUE(r.form.List1_KeyPress(13));
    }
    EXPECT_EQ(r.player.jumps, std::vector<std::int32_t>{62345});

    r.List1.selected = 4;
    EXPECT_TRUE(r.form.List1_KeyPress(13));
    EXPECT_EQ(r.player.jumps, (std::vector<std::int32_t>{62345, 500}));

    Rig empty;
    empty.form.List1_DblClick();
    EXPECT_TRUE(empty.player.log.empty());
}

TEST(Form1Transport, ListKeysUpperCaseOnly)
{
    Rig r;
    for (int code : {'D', 'H', 'P', 'S', 'U'}) EXPECT_TRUE(r.form.List1_KeyPress(code));
    EXPECT_EQ(r.player.Commands(), (Log{"next", "pause", "play", "stop", "prev"}));

    // p, d, s, N, space, NUL
    for (int code : {112, 100, 115, 78, 32, 0}) EXPECT_FALSE(r.form.List1_KeyPress(code));
    EXPECT_EQ(r.player.log.size(), 5u);
}

} // namespace
} // namespace morvane::test
