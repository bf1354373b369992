// The list kept with the recording the player plays, and what 退出 left
// offered again, as the window's menu drives them.

#include <gtest/gtest.h>

#include "fakes.h"

namespace morvane::test {
namespace {

int ItemId(MainForm& form, std::u16string_view starts_with)
{
    for (const MenuItem& item : form.Mark_List_ContextMenu(-1))
        if (item.text.starts_with(starts_with)) return item.id;
    return 0;
}

// A second later, so that the player is asked its file again.
void NextSecond(Rig& r)
{
    r.poll_clock.now_ms += 1000;
    r.form.Poll_Tick();
}

void RecordAt(Rig& r, std::initializer_list<std::int32_t> positions)
{
    for (const std::int32_t ms : positions) {
        r.player.position = ms;
        r.form.Record_Click();
    }
    NextSecond(r);
}

TEST(KeptMarks, EachRecordingGetsItsMarksBackAndSoDoesTheNextStart)
{
    Rig r(u"/data/");
    r.player.file_path = u"/课/A.mp3";
    r.form.UseSettings(u"/config/settings.ini", "");
    ASSERT_TRUE(r.form.Form_Load());
    r.form.Context_Menu_Click(ItemId(r.form, u"标记随录音保存"));
    RecordAt(r, {1000, 2000, 3000});
    EXPECT_TRUE(r.files.Exists(u"/课/A.mp3.marks.txt"));

    r.player.file_path = u"/课/B.mp3";
    NextSecond(r);
    EXPECT_EQ(r.form.mark_list().Count(), 0);
    RecordAt(r, {9000});
    r.player.file_path = u"/课/A.mp3";
    NextSecond(r);
    EXPECT_EQ(r.form.mark_list().Count(), 3);
    EXPECT_EQ(r.state_line.text, u"已载入 3 条标记");

    // Quit and start again: the setting and A's marks come back.
    r.form.Window_Gone();
    Rig again(u"/data/");
    again.files.files = r.files.files;
    again.player.file_path = u"/课/A.mp3";
    again.form.UseSettings(u"/config/settings.ini", r.files.files[u"/config/settings.ini"]);
    ASSERT_TRUE(again.form.Form_Load());
    EXPECT_EQ(again.form.mark_list().Count(), 3);
}

TEST(KeptMarks, WhatQuittingWouldLoseIsOfferedAtTheNextStart)
{
    Rig r(u"/data/");
    ASSERT_TRUE(r.form.Form_Load());
    RecordAt(r, {1000, 2000, 3000});
    EXPECT_EQ(ItemId(r.form, u"恢复上次退出时的标记"), 0);
    r.form.End_Click();
    r.form.Window_Gone();

    Rig again(u"/data/");
    again.files.files = r.files.files;
    ASSERT_TRUE(again.form.Form_Load());
    EXPECT_EQ(again.form.mark_list().Count(), 0);
    const int recover = ItemId(again.form, u"恢复上次退出时的标记（3 条）");
    ASSERT_NE(recover, 0);
    again.form.Context_Menu_Click(recover);
    EXPECT_EQ(again.form.mark_list().Entries(),
              (std::vector<std::u16string>{u"[000:01:000]", u"[000:02:000]", u"[000:03:000]"}));
    EXPECT_EQ(ItemId(again.form, u"恢复上次退出时的标记"), 0);
}

} // namespace
} // namespace morvane::test
