#include <gtest/gtest.h>

#include "stamps/entry.h"

namespace morvane {
namespace {

TEST(Entry, LayoutByPosition)
{
    const std::u16string stamp = u"[000:10:000]";
    const std::u16string empty_note = Make_Entry(stamp, u"");
    const std::u16string with_note = Make_Entry(stamp, u"old \u4E2D");

    EXPECT_EQ(empty_note, u"[000:10:000] \u6CE8\u91CA:");
    EXPECT_EQ(empty_note.size(), 16u);
    EXPECT_FALSE(Entry_Has_Note(stamp));
    EXPECT_TRUE(Entry_Has_Note(empty_note));
    EXPECT_EQ(Entry_Note(empty_note), u"");
    EXPECT_EQ(Entry_Note(with_note), u"old \u4E2D");
    EXPECT_EQ(Entry_Stamp(with_note), stamp);

    // Nothing checks the separator: other texts are still cut by position.
    EXPECT_EQ(Entry_Stamp(u"short"), u"short");
    EXPECT_EQ(Entry_Note(u"[000:10:000]abc"), u"");
    EXPECT_EQ(Entry_Note(u"[000:10:000]abcdXY"), u"XY");
}

} // namespace
} // namespace morvane
