#include <gtest/gtest.h>

#include "stamps/entry.h"

namespace morvane {
namespace {

TEST(Entry, LayoutByPosition)
{
    const std::u16string stamp = u"[000:10:000]";
    const std::u16string empty_note = MakeEntry(stamp, u"");
    const std::u16string with_note = MakeEntry(stamp, u"old \u4E2D");

    EXPECT_EQ(empty_note, u"[000:10:000] \u6CE8\u91CA:");
    EXPECT_EQ(empty_note.size(), 16u);
    EXPECT_EQ(EntryNote(empty_note), u"");
    EXPECT_EQ(EntryNote(with_note), u"old \u4E2D");
    EXPECT_EQ(EntryStamp(with_note), stamp);

    // Nothing checks the separator: other texts are still cut by position.
    EXPECT_EQ(EntryStamp(u"short"), u"short");
    EXPECT_EQ(EntryNote(u"[000:10:000]abc"), u"");
    EXPECT_EQ(EntryNote(u"[000:10:000]abcdXY"), u"XY");
}

// The jump, practice and the exports read an entry's time alike.
TEST(Entry, TimeAsTheJumpReadsIt)
{
    const struct {
        std::u16string_view entry;
        std::optional<std::int32_t> ms;
    } cases[] = {
        {u"[001:02:345] \u6CE8\u91CA:abc", 62345},
        {u"[000:75:000]", 75000},
        {u"[ -1:00:000]", -60000},
        {u"[000:01:000]x", 1000},
        {u"", std::nullopt},
        {u"no stamp", std::nullopt},
        {u"[000:aa:000]", std::nullopt},
        {u"[9999:00:000]", std::nullopt},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(EntryTimeMs(cases[i].entry), cases[i].ms) << "case " << i;
}

} // namespace
} // namespace morvane
