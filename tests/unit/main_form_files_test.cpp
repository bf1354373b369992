#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fakes.h"
#include "marks/mark_file.h"

namespace morvane::test {
namespace {

using Items = std::vector<std::u16string>;

bool Mentions(const std::u16string& text, const std::u16string& part)
{
    return text.find(part) != std::u16string::npos;
}

// A rig with two entries, the second clicked.
void Prepare(Rig& r)
{
    r.Show({u"[000:01:000]", u"[000:02:000] 注释:中文"});
    r.list_box.selected = 1;
    r.form.Mark_List_Click(r.list_box.selected);
}

TEST(MainFormSave, WritesTheListToTheTargetName)
{
    Rig r;
    Prepare(r);
    const Items before = r.list_box.items;
    const std::string bytes = mark_file::EncodeLines(before, r.code_page);
    r.window.save_path = u"C:\\m\\marks";
    r.form.Save_Click();
    r.window.save_path = u"C:\\m\\other.TXT";
    r.form.Save_Click();

    EXPECT_EQ(r.files.files.size(), 2u);
    EXPECT_EQ(r.files.files[u"C:\\m\\marks.txt"], bytes);
    EXPECT_EQ(r.files.files[u"C:\\m\\other.TXT"], bytes);
    EXPECT_TRUE(r.window.messages.empty());
    EXPECT_EQ(r.list_box.items, before);
    EXPECT_EQ(r.list_box.selected, 1);
    EXPECT_EQ(r.form.mark_list().Selection(), std::optional<int>(1));
    EXPECT_EQ(r.count_line.sets, 0);
}

TEST(MainFormSave, AsksBeforeReplacingAnotherName)
{
    Rig r;
    Prepare(r);
    r.files.files[u"abc.txt"] = "old";
    r.window.save_path = u"abc";
    r.window.yes = false;
    r.form.Save_Click();
    EXPECT_EQ(r.files.files[u"abc.txt"], "old");
    ASSERT_EQ(r.window.messages.size(), 1u);
    EXPECT_TRUE(Mentions(r.window.messages[0].first, u"abc.txt"));
    EXPECT_EQ(r.window.messages[0].second, u"提示");

    r.window.yes = true;
    r.form.Save_Click();
    EXPECT_NE(r.files.files[u"abc.txt"], "old");

    // The dialog has already asked about a chosen name ending in .txt.
    r.window.messages.clear();
    r.window.save_path = u"abc.txt";
    r.form.Save_Click();
    EXPECT_TRUE(r.window.messages.empty());
}

TEST(MainFormSave, FailureIsReportedAndCancelDoesNothing)
{
    Rig r;
    Prepare(r);
    r.files.unwritable[u"ro.txt"] = u"拒绝访问。";
    r.window.save_path = u"ro.txt";
    r.form.Save_Click();
    ASSERT_EQ(r.window.messages.size(), 1u);
    EXPECT_TRUE(Mentions(r.window.messages[0].first, u"ro.txt"));
    EXPECT_TRUE(Mentions(r.window.messages[0].first, u"拒绝访问。"));
    EXPECT_EQ(r.window.messages[0].second, u"提示");
    EXPECT_EQ(r.list_box.items.size(), 2u);

    r.window.save_path.reset();
    r.form.Save_Click();
    EXPECT_TRUE(r.files.files.empty());
    EXPECT_EQ(r.window.messages.size(), 1u);

    // A read-only file is not replaced, whatever the system would allow.
    r.files.files[u"kept.txt"] = "old";
    r.files.read_only = {u"kept.txt"};
    r.window.save_path = u"kept.txt";
    r.form.Save_Click();
    EXPECT_EQ(r.files.files[u"kept.txt"], "old");
    ASSERT_EQ(r.window.messages.size(), 2u);
    EXPECT_TRUE(Mentions(r.window.messages[1].first, u"文件是只读的"));

    // Chosen without its extension, the same file is refused as well, once
    // the user has agreed to replace it.
    r.window.save_path = u"kept";
    r.form.Save_Click();
    EXPECT_EQ(r.files.files[u"kept.txt"], "old");
    ASSERT_EQ(r.window.messages.size(), 4u);
    EXPECT_TRUE(Mentions(r.window.messages[3].first, u"文件是只读的"));
}

TEST(MainFormLoad, ReplacesTheListAndLeavesSelIndex)
{
    Rig r;
    Prepare(r);
    r.files.files[u"l.txt"] = "[000:03:000]\r\n[000:04:000] \xd7\xa2\xca\xcd:longer note\r\n\r\n\r\n";
    r.window.open_path = u"l.txt";
    r.form.Load_Click();

    const Items loaded{u"[000:03:000]", u"[000:04:000] 注释:longer note"};
    EXPECT_EQ(r.list_box.items, loaded);
    EXPECT_EQ(r.count_line.text, u"2");
    EXPECT_EQ(r.list_box.extent, *r.list_box.TextWidth(loaded[1]) + 10);
    EXPECT_EQ(r.list_box.selected, -1);
    EXPECT_EQ(r.form.mark_list().Selection(), std::optional<int>(1));
    EXPECT_TRUE(r.window.messages.empty());

    // Nothing is highlighted since: 删除 removes no entry.
    r.form.Delete_Click();
    EXPECT_EQ(r.list_box.items, loaded);
    EXPECT_EQ(r.count_line.text, u"2");

    // Cancel changes nothing.
    r.window.open_path.reset();
    r.form.Load_Click();
    EXPECT_EQ(r.list_box.items, loaded);
}

TEST(MainFormLoad, FailureKeepsTheList)
{
    Rig r;
    Prepare(r);
    const Items before = r.list_box.items;
    r.files.unreadable[u"bad.txt"] = u"文件被占用。";
    r.window.open_path = u"bad.txt";
    r.form.Load_Click();

    EXPECT_EQ(r.list_box.items, before);
    EXPECT_EQ(r.list_box.selected, 1);
    EXPECT_EQ(r.count_line.sets, 0);
    ASSERT_EQ(r.window.messages.size(), 1u);
    EXPECT_TRUE(Mentions(r.window.messages[0].first, u"bad.txt"));
    EXPECT_TRUE(Mentions(r.window.messages[0].first, u"文件被占用。"));
    EXPECT_EQ(r.window.messages[0].second, u"提示");

    // Mark files are small: one over 256 MiB is refused, not read.
    r.files.files[u"huge.txt"] = "[000:01:000]";
    r.window.open_path = u"huge.txt";
    r.form.Load_Click();
    EXPECT_EQ(r.files.largest_read, 256u << 20);
    r.files.files[u"huge.txt"] = std::string(r.files.largest_read + 1, 'a');
    r.form.Load_Click();
    EXPECT_EQ(r.list_box.items.size(), 1u);
    ASSERT_EQ(r.window.messages.size(), 2u);
    EXPECT_TRUE(Mentions(r.window.messages[1].first, u"文件太大"));
}

TEST(MainFormLoad, AsManyLinesAsTheListHoldsAndMore)
{
    for (const int lines : {32767, 32770}) {
        Rig r;
        std::string bytes;
        for (int i = 0; i < lines; ++i) bytes += "[000:00:" + std::to_string(100 + i % 900) + "]\r\n";
        r.files.files[u"big.txt"] = bytes;
        r.window.open_path = u"big.txt";
        r.form.Load_Click();

        EXPECT_EQ(r.list_box.items.size(), 32767u);
        EXPECT_EQ(r.list_box.items.back(), u"[000:00:466]");  // line 32767
        EXPECT_EQ(r.count_line.text, u"32767");
        if (lines == 32767) {
            EXPECT_TRUE(r.window.messages.empty());
            continue;
        }
        ASSERT_EQ(r.window.messages.size(), 1u);
        EXPECT_TRUE(Mentions(r.window.messages[0].first, u"32770"));
        EXPECT_TRUE(Mentions(r.window.messages[0].first, u"32767"));
    }
}

// Subtitles and labels: the chosen type decides format and extension, the
// track's end bounds the last cue, unplaceable entries are counted, and a
// broken subtitle file is refused without touching the list.
TEST(MainFormFormats, SaveAsSubtitlesAndLoadThemBack)
{
    Rig r;
    r.Show({u"[000:02:000] 注释:第二句", u"不是时间", u"[000:01:000]"});
    r.player.length = 4;
    r.window.save_path = u"/m/lesson";
    r.window.save_type = FileType::Srt;
    r.form.Save_Click();
    EXPECT_EQ(r.files.files[u"/m/lesson.srt"],
              "\xEF\xBB\xBF" "1\n00:00:01,000 --> 00:00:02,000\n[000:01:000]\n\n"
              "2\n00:00:02,000 --> 00:00:04,000\n第二句\n\n");
    ASSERT_EQ(r.window.messages.size(), 1u);
    EXPECT_TRUE(Mentions(r.window.messages[0].first, u"有 1 条记录不以时间开头"));

    r.window.open_path = u"/m/lesson.srt";
    r.form.Load_Click();
    EXPECT_EQ(r.list_box.items, (Items{u"[000:01:000]", u"[000:02:000] 注释:第二句"}));
    EXPECT_EQ(r.count_line.text, u"2");

    r.files.files[u"/m/broken.vtt"] = "WEBVTT\n\n00:00:01.000 --> soon\nx\n";
    r.window.open_path = u"/m/broken.vtt";
    r.form.Load_Click();
    EXPECT_EQ(r.list_box.items.size(), 2u);
    EXPECT_TRUE(Mentions(r.window.messages.back().first, u"第 3 行"));
}

} // namespace
} // namespace morvane::test
