#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fakes.h"

namespace morvane::test {
namespace {

using Items = std::vector<std::u16string>;

bool Mentions(const std::u16string& text, const std::u16string& part)
{
    return text.find(part) != std::u16string::npos;
}

// A rig holding two entries, the second clicked, about to load `bytes`.
void Prepare(Rig& r, const std::string& bytes)
{
    r.Show({u"[000:01:000]", u"[000:02:000] 注释:中文"});
    r.list_box.selected = 1;
    r.form.Mark_List_Click(r.list_box.selected);
    r.files.files[u"C:\\m\\bad.txt"] = bytes;
    r.window.open_path = u"C:\\m\\bad.txt";
}

// Loading `bytes` is refused: the list is as it was and one message says why.
void ExpectRefused(const std::string& bytes, const std::u16string& reason)
{
    SCOPED_TRACE(testing::Message() << bytes.size() << " bytes");
    Rig r;
    Prepare(r, bytes);
    const Items before = r.list_box.items;
    r.form.Load_Click();
    EXPECT_EQ(r.list_box.items, before);
    EXPECT_EQ(r.list_box.selected, 1);
    EXPECT_EQ(r.form.mark_list().Selection(), std::optional<int>(1));
    EXPECT_EQ(r.count_line.sets, 0);
    ASSERT_EQ(r.window.messages.size(), 1u);
    EXPECT_TRUE(Mentions(r.window.messages[0].first, u"C:\\m\\bad.txt"));
    EXPECT_TRUE(Mentions(r.window.messages[0].first, reason)) << "no " << reason.size() << "-unit reason";
    EXPECT_EQ(r.window.messages[0].second, u"提示");
}

TEST(MainFormLoadRefuses, FilesThatAreNotText)
{
    const std::pair<std::string, std::u16string> cases[] = {
        {std::string("[000:01:000]\r\nMZ\x90\0\x03\0\0\0\r\n", 18), u"不是文本文件"},  // a NUL amid text
        {std::string("\0", 1), u"不是文本文件"},
        {std::string("\xEF\xBB\xBF[000:01:000]\0\r\n", 17), u"不是文本文件"},  // UTF-8 is no exception
        // Notepad's "Unicode" text, with and without NUL bytes in it.
        {std::string("\xFF\xFE[\0" "0\0", 6), u"UTF-16"},
        {std::string("\xFF\xFE\x2D\x4E\x87\x65", 6), u"UTF-16"},
        {std::string("\xFE\xFF\x4E\x2D", 4), u"UTF-16"},
    };
    for (const auto& [bytes, reason] : cases) ExpectRefused(bytes, reason);
}

TEST(MainFormLoadRefuses, LinesLongerThanAnEntryNamingTheLine)
{
    std::string chinese = "\xEF\xBB\xBF";
    for (int i = 0; i < 32768; ++i) chinese += "\xE4\xB8\xAD";
    const std::pair<std::string, std::u16string> cases[] = {
        // Ten megabytes on one line.
        {std::string(10 * 1024 * 1024, 'x'), u"第 1 行超过 32767 个字符"},
        // Empty lines and a CR alone count as lines; an LF alone does not.
        {"[000:01:000]\r\n\r\na\nb\r" + std::string(32768, 'x') + "\r\n[000:02:000]\r\n", u"第 4 行"},
        // Characters are counted, not bytes: 32768 Chinese characters in UTF-8.
        {chinese, u"第 1 行"},
    };
    for (const auto& [bytes, reason] : cases) ExpectRefused(bytes, reason);
}

TEST(MainFormLoadRefuses, ValidFilesStillLoad)
{
    const std::u16string note(32767 - 16, u'中');
    const std::u16string longest = u"[000:03:000] 注释:" + note;  // exactly at the cap
    std::string longest_ansi = "[000:03:000] \xd7\xa2\xca\xcd:";
    for (std::size_t i = 0; i < note.size(); ++i) longest_ansi += "\xd6\xd0";  // 65 550 bytes

    const struct {
        std::string bytes;
        Items loaded;
    } cases[] = {
        // An old file: code page 936, two empty lines at the end.
        {"[000:01:000]\r\n[000:02:000] \xd7\xa2\xca\xcd:\xd6\xd0\xce\xc4\r\n\r\n\r\n",
         {u"[000:01:000]", u"[000:02:000] 注释:中文"}},
        // UTF-8 with its byte-order mark, a note beyond the code page.
        {"\xEF\xBB\xBF[000:01:000] \xE6\xB3\xA8\xE9\x87\x8A:\xF0\x9F\x98\x80\r\n",
         {u"[000:01:000] 注释:\U0001F600"}},
        // CR alone as the line end, and no end after the last line.
        {"[000:01:000]\r[000:02:000]", {u"[000:01:000]", u"[000:02:000]"}},
        {longest_ansi + "\r\n", {longest}},
        {"\xEF\xBB\xBF" + std::string(32767, 'y'), {std::u16string(32767, u'y')}},
    };
    for (const auto& c : cases) {
        Rig r;
        Prepare(r, c.bytes);
        r.form.Load_Click();
        EXPECT_EQ(r.list_box.items, c.loaded);
        EXPECT_TRUE(r.window.messages.empty());
    }
}

} // namespace
} // namespace morvane::test
