// The Wine set-up the program relies on: the Chinese ANSI code page and the
// font replacements for its faces. A wrong set-up explains failures elsewhere.

#include "rig.h"

namespace morvane::test {
namespace {

TEST(Environment, WineHasTheChineseCodePageAndFaces)
{
    EXPECT_EQ(GetACP(), 936u);
    // Both faces draw Chinese at the 12 pixels the display lines are measured
    // with; the list's face stays fixed-pitch.
    const Measured song = TextWidth(L"宋体", L"中");
    EXPECT_TRUE(song.chinese);
    EXPECT_EQ(song.width, 12);
    EXPECT_TRUE(TextWidth(L"新宋体", L"中").chinese);
    EXPECT_EQ(TextWidth(L"新宋体", L"中").width, 12);
    EXPECT_EQ(TextWidth(L"新宋体", L"i").width, 6);
    EXPECT_EQ(TextWidth(L"新宋体", L"W").width, 6);
}

} // namespace
} // namespace morvane::test
