#include <gtest/gtest.h>

#include "marks/formats.h"
#include "marks/mark_file.h"
#include "test_code_page.h"

namespace morvane::mark_formats {
namespace {

using Entries = std::vector<std::u16string>;

const test::TestCodePage kCp936;
constexpr Format kAll[] = {Format::AudacityLabels, Format::Srt, Format::WebVtt};

Read Reread(Format format, const Entries& entries) { return ReadMarks(WriteMarks(format, entries).bytes, kCp936); }

TEST(MarkFormats, WritesEachFormatInTimeOrder)
{
    const Entries list = {u"[000:12:300] 注释:第二", u"[000:01:000]", u"no stamp", u"[000:aa:000]",
                          u"[000:01:000] 注释:a&b <c>"};
    const Written labels = WriteMarks(Format::AudacityLabels, list);
    EXPECT_EQ(labels.bytes, "1.000000\t1.000000\t\n1.000000\t1.000000\ta&b <c>\n12.300000\t12.300000\t第二\n");
    EXPECT_EQ(labels.left_out, 2u);
    // Where a jump goes: seconds past 59 count on, a time before the start is the start.
    EXPECT_EQ(WriteMarks(Format::AudacityLabels, {u"[000:75:000] 注释:x", u"[ -1:00:000]"}).bytes,
              "0.000000\t0.000000\t\n75.000000\t75.000000\tx\n");
    // Marks of equal time end together at the next later mark.
    EXPECT_EQ(WriteMarks(Format::Srt, list).bytes, "\xEF\xBB\xBF"
                                                    "1\n00:00:01,000 --> 00:00:12,300\n[000:01:000]\n\n"
                                                    "2\n00:00:01,000 --> 00:00:12,300\na&b \uFF1Cc\uFF1E\n\n"
                                                    "3\n00:00:12,300 --> 00:00:17,300\n第二\n\n");
    EXPECT_EQ(WriteMarks(Format::WebVtt, list).bytes, "WEBVTT\n\n"
                                                       "00:00:01.000 --> 00:00:12.300\n[000:01:000]\n\n"
                                                       "00:00:01.000 --> 00:00:12.300\na&amp;b &lt;c&gt;\n\n"
                                                       "00:00:12.300 --> 00:00:17.300\n第二\n\n");

    EXPECT_EQ(WriteMarks(Format::AudacityLabels, {}).bytes, "");
    EXPECT_EQ(WriteMarks(Format::WebVtt, {}).bytes, "WEBVTT\n\n");
    // Empty labels or SRT are also an empty mark file: the list is empty either way.
    for (const Format format : kAll) {
        const Read read = Reread(format, {});
        EXPECT_TRUE(read.entries.empty() && read.error.empty());
    }
}

TEST(MarkFormats, LastCueEndsAtTheTrackEndWhenNearer)
{
    const auto last_line = [](std::int32_t track_ms, const Entries& list = {u"[000:10:000]"}) {
        const std::string bytes = WriteMarks(Format::WebVtt, list, track_ms).bytes;
        return bytes.substr(8, bytes.find('\n', 8) - 8);
    };
    EXPECT_EQ(last_line(0), "00:00:10.000 --> 00:00:15.000");
    EXPECT_EQ(last_line(12'000), "00:00:10.000 --> 00:00:12.000");
    EXPECT_EQ(last_line(20'000), "00:00:10.000 --> 00:00:15.000");
    EXPECT_EQ(last_line(9'000), "00:00:10.000 --> 00:00:15.000");
    EXPECT_EQ(last_line(0, {u"[999:59:999]"}), "16:39:59.999 --> 16:40:04.999");
}

TEST(MarkFormats, RoundTripSortsAndKeepsNotesEachFormatCanHold)
{
    const Entries list = {u"[001:00:000] 注释:中文\t😀", u"[000:02:000] 注释:", u"[000:03:000]",
                          u"[000:01:000] 注释:one\r\n\r\n  \ntwo\n", u"[000:04:000] 注释:a --> b & <i>"};
    const Entries common = {u"[000:01:000] 注释:one two", u"[000:02:000]", u"[000:03:000]"};
    const auto expect = [&](std::u16string_view lt, std::u16string_view gt, std::u16string tab) {
        Entries sorted = common;
        sorted.push_back(u"[000:04:000] 注释:a --" + std::u16string(gt) + u" b & " + std::u16string(lt) + u"i" +
                         std::u16string(gt));
        sorted.push_back(u"[001:00:000] 注释:中文" + tab + u"😀");
        return sorted;
    };
    EXPECT_EQ(Reread(Format::AudacityLabels, list).entries, expect(u"<", u">", u" "));
    EXPECT_EQ(Reread(Format::Srt, list).entries, expect(u"\uFF1C", u"\uFF1E", u"\t"));
    EXPECT_EQ(Reread(Format::WebVtt, list).entries, expect(u"<", u">", u"\t"));
    for (const Format format : kAll) EXPECT_EQ(Reread(format, list).format, format);
}

TEST(MarkFormats, ReadsFilesFromOtherPrograms)
{
    const Read vtt = ReadMarks("\xEF\xBB\xBFWEBVTT - film\r\nKind: captions\r\n\r\nNOTE a\r\nb\r\n\r\nSTYLE\r\n::cue{}\r\n\r\n"
                                "id 1\r\n01:02.500 --> 01:03.000 align:start\r\n<v Ann><i>Hi</i></v> &amp;\r\n"
                                "&#x1F600;&lt;&bogus;\r\n",
                                kCp936);
    EXPECT_EQ(vtt.entries, Entries{u"[001:02:500] 注释:Hi & 😀<&bogus;"});
    // A '<' no '>' closes is text; a long run of them is read in linear time.
    const std::string cue = "WEBVTT\n\n00:01.000 --> 00:02.000\n";
    EXPECT_EQ(ReadMarks(cue + "<i>a</i> < b &amp; c\n", kCp936).entries, Entries{u"[000:01:000] 注释:a < b & c"});
    EXPECT_EQ(ReadMarks(cue + std::string(1'000'000, '<') + "\n", kCp936).error, u"第 3 行的文字超过 32751 个字符");

    // GBK text, CR line ends, coordinates, a cue without its number, '.' for ','.
    EXPECT_EQ(ReadMarks("\r1\r01:00:00,000 --> 01:00:01,000 X1:10\r\xD6\xD0\xCE\xC4\r\r"
                         "00:00:00.000 --> 00:00:01,000\r\r",
                         kCp936)
                  .entries,
              (Entries{u"[060:00:000] 注释:中文", u"[000:00:000]"}));

    const Read labels = ReadMarks("1,0005\t2.5\tregion\n\\\t100.0\t200.0\n3\t3\n", kCp936);
    EXPECT_EQ(labels.format, Format::AudacityLabels);
    EXPECT_EQ(labels.entries, (Entries{u"[000:01:001] 注释:region", u"[000:03:000]"}));

    // Morvane's own files and binary ones are left to the mark-file reader.
    const std::string_view others[] = {"", "[000:01:000]\r\n", "1\r\n2\r\n", {"\xFF\xFE" "1\0", 4}};
    for (const std::string_view other : others) EXPECT_FALSE(ReadMarks(other, kCp936).format) << other;
}

TEST(MarkFormats, RefusesBadFilesNamingTheLine)
{
    const std::pair<std::string, std::u16string> cases[] = {
        {"1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\nB\n", u"第 5 行的字幕没有时间行"},
        {"WEBVTT\n\n00:01.000 --> 00:61.000\nA\n", u"第 3 行的时间格式不正确"},
        {"1\n-00:00:01,000 --> 00:00:02,000\nA\n", u"第 2 行的时间是负数"},
        {"1\n16:40:00,000 --> 16:40:01,000\nA\n", u"第 2 行的时间超过 999:59:999，记录容纳不下"},
        {"1.0\t1.0\tA\n2.0 2.0 B\n", u"第 2 行的时间格式不正确"},
        {"1.0\t1.0\t" + std::string(32752, 'x') + "\n", u"第 1 行的文字超过 32751 个字符"},
    };
    for (const auto& [bytes, message] : cases) EXPECT_EQ(ReadMarks(bytes, kCp936).error, message) << bytes;
    // The last cue may run past what a stamp holds; only the start must fit.
    EXPECT_EQ(ReadMarks("1\n16:39:59,999 --> 99:00:00,000\n", kCp936).entries, Entries{u"[999:59:999]"});
}

TEST(MarkFormats, ReadsTheFirstEntriesTheListHolds)
{
    std::string bytes;
    for (std::size_t i = 0; i <= mark_file::kMaxEntries; ++i) bytes += std::to_string(i) + "\t0\t\n";
    const Read read = ReadMarks(bytes, kCp936);
    EXPECT_EQ(read.in_file, mark_file::kMaxEntries + 1);
    ASSERT_EQ(read.entries.size(), mark_file::kMaxEntries);
    EXPECT_EQ(read.entries.back(), u"[546:06:000]");
}

} // namespace
} // namespace morvane::mark_formats
