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
    EXPECT_FALSE(EntryHasNote(stamp));
    EXPECT_TRUE(EntryHasNote(empty_note));
    EXPECT_EQ(EntryNote(empty_note), u"");
    EXPECT_EQ(EntryNote(with_note), u"old \u4E2D");
    EXPECT_EQ(EntryStamp(with_note), stamp);

    // Nothing checks the separator: other texts are still cut by position.
    EXPECT_EQ(EntryStamp(u"short"), u"short");
    EXPECT_EQ(EntryNote(u"[000:10:000]abc"), u"");
    EXPECT_EQ(EntryNote(u"[000:10:000]abcdXY"), u"XY");
}

} // namespace
} // namespace morvane
