#include <gtest/gtest.h>

#include "marks/mark_file.h"
#include "text/utf8.h"
#include "test_code_page.h"

namespace morvane::mark_file {
namespace {

using Lines = std::vector<std::u16string>;

const test::TestCodePage kCp936;

Lines Decode(std::string_view bytes) { return DecodeLines(bytes, kCp936); }

TEST(DecodeLines, LineEnds)
{
    EXPECT_EQ(Decode("a\r\nb\rc\r\n"), (Lines{u"a", u"b", u"c"}));
    EXPECT_EQ(Decode("a\r\nlast"), (Lines{u"a", u"last"}));
    EXPECT_EQ(Decode("one\ntwo\nthree\n"), (Lines{u"one\ntwo\nthree\n"}));
    EXPECT_EQ(Decode("a\r\r\nb\n\r"), (Lines{u"a", u"b\n"}));
    EXPECT_TRUE(Decode("").empty());
    EXPECT_TRUE(Decode("\r\n\r\n").empty());
    // Older versions wrote two empty lines after the entries.
    EXPECT_EQ(Decode("[000:01:000]\r\n[000:02:000]\r\n\r\n\r\n"), (Lines{u"[000:01:000]", u"[000:02:000]"}));
}

TEST(DecodeLines, NulBytesAndLongLines)
{
    using namespace std::string_view_literals;
    EXPECT_EQ(Decode("a\0b\r\n\0\r\nc"sv), (Lines{std::u16string(u"a\0b", 3), std::u16string(1, u'\0'), u"c"}));

    const std::string long_line(5 * 1024 * 1024, 'x');
    const Lines lines = Decode("\xEF\xBB\xBF" + long_line + "\r\nend");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), long_line.size());
    EXPECT_EQ(lines[1], u"end");
    EXPECT_EQ(Decode(long_line + "\r\n\xD6\xD0")[1], u"\u4E2D");
}

TEST(EncodeLines, AnsiWhenEveryLineFits)
{
    EXPECT_EQ(EncodeLines({}, kCp936), "");
    const Lines lines = {u"[000:01:600]", u"[001:23:400] \u6CE8\u91CA:\u4E2D\u6587", u""};
    const std::string bytes = EncodeLines(lines, kCp936);
    EXPECT_EQ(bytes, "[000:01:600]\r\n[001:23:400] \xD7\xA2\xCA\xCD:\xD6\xD0\xCE\xC4\r\n\r\n");
    EXPECT_EQ(Decode(bytes), (Lines{lines[0], lines[1]}));
}

TEST(EncodeLines, Utf8WithBomWhenSomeLineDoesNot)
{
    const Lines lines = {u"[000:01:000] \u6CE8\u91CA:\u4E2D", u"[000:02:000] \u6CE8\u91CA:\U0001F600"};
    const std::string bytes = EncodeLines(lines, kCp936);
    EXPECT_EQ(bytes, "\xEF\xBB\xBF[000:01:000] \xE6\xB3\xA8\xE9\x87\x8A:\xE4\xB8\xAD\r\n"
                     "[000:02:000] \xE6\xB3\xA8\xE9\x87\x8A:\xF0\x9F\x98\x80\r\n");
    EXPECT_EQ(Decode(bytes), lines);

    // ANSI text that happens to begin with the byte-order mark's bytes
    // would be misread, so it is written as UTF-8 too.
    const Lines lookalike = {u"\u9518\u4FCA"};
    ASSERT_EQ(*kCp936.ToAnsi(lookalike[0]), "\xEF\xBB\xBF\xA1");
    EXPECT_EQ(Decode(EncodeLines(lookalike, kCp936)), lookalike);

    // A line that is not UTF-8 in a UTF-8 file is read as ANSI, alone.
    EXPECT_EQ(Decode("\xEF\xBB\xBF\xE4\xB8\xAD\r\n\xD6\xD0\r\n"), (Lines{u"\u4E2D", u"\u4E2D"}));
}

TEST(Utf8, SurrogatesAndMalformedInput)
{
    EXPECT_EQ(ToUtf8(u"a\u00E9\u4E2D\U0010FFFF"), "a\xC3\xA9\xE4\xB8\xAD\xF4\x8F\xBF\xBF");
    EXPECT_EQ(ToUtf8(std::u16string{u'x', char16_t{0xD83D}}), "x\xEF\xBF\xBD");
    EXPECT_EQ(ToUtf8(std::u16string{char16_t{0xDE00}, u'x'}), "\xEF\xBF\xBDx");
    EXPECT_EQ(FromUtf8("\xF0\x9F\x98\x80"), std::u16string(u"\U0001F600"));
    for (const char* bad : {"\x80", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE4\xB8",
                            "\xE4\x41\x41", "\xFF"})
        EXPECT_FALSE(FromUtf8(bad)) << bad;
}

TEST(TargetName, AddsTxtOnlyWhenMissing)
{
    using save_name::TargetName;
    EXPECT_EQ(TargetName(u"C:\\m\\abc"), u"C:\\m\\abc.txt");
    EXPECT_EQ(TargetName(u"C:\\m\\abc.txt"), u"C:\\m\\abc.txt");
    EXPECT_EQ(TargetName(u"ABC.TXT"), u"ABC.TXT");
    EXPECT_EQ(TargetName(u"abc.Txt"), u"abc.Txt");
    EXPECT_EQ(TargetName(u"abc.txt.bak"), u"abc.txt.bak.txt");
    EXPECT_EQ(TargetName(u"abctxt"), u"abctxt.txt");
    EXPECT_EQ(TargetName(u"\u8BB0\u5F55"), u"\u8BB0\u5F55.txt");
    EXPECT_EQ(TargetName(u"\u8BB0\u5F55.txt"), u"\u8BB0\u5F55.txt");
}

} // namespace
} // namespace morvane::mark_file

namespace morvane::mark_file {
namespace {

// Files that travel between the Windows build (ANSI, code page 936) and the
// Linux build (UTF-8, with or without a byte-order mark).
TEST(MarkFileEncoding, Utf8PlatformReadsEveryFormAndWritesUtf8)
{
    const test::TestCodePage cp;
    const Lines entries{u"[000:01:000] 注释:你好", u"[000:02:000]"};
    const std::string windows = EncodeLines(entries, cp);
    EXPECT_EQ(windows.substr(0, 12), "[000:01:000]");  // ANSI: no mark, one byte per ASCII
    EXPECT_EQ(DecodeLines(windows, cp, Encoding::Utf8), entries);

    const std::string linux_file = EncodeLines(entries, cp, Encoding::Utf8);
    EXPECT_EQ(linux_file, "\xEF\xBB\xBF" + ToUtf8(u"[000:01:000] 注释:你好\r\n[000:02:000]\r\n"));
    EXPECT_EQ(DecodeLines(linux_file, cp, Encoding::Ansi), entries);

    const std::string no_mark = ToUtf8(u"[000:03:000] 注释:中文\r\n");
    EXPECT_EQ(DecodeLines(no_mark, cp, Encoding::Utf8), Lines{u"[000:03:000] 注释:中文"});
    // Windows keeps reading a file without the mark in its code page.
    EXPECT_NE(DecodeLines(no_mark, cp, Encoding::Ansi), Lines{u"[000:03:000] 注释:中文"});
}

} // namespace
} // namespace morvane::mark_file
