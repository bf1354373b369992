#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/mark_list.h"
#include "fakes.h"

namespace morvane::test {
namespace {

using Items = std::vector<std::u16string>;

// The list holds no more than its bound, and never an entry the view did
// not take: what is saved is what the user sees.
TEST(MarkList, KeepsToTheBoundAndToWhatTheViewShows)
{
    FakeListBox view;
    MarkList list(view, 3);
    list.Assign({u"a", u"b", u"c", u"d"});
    EXPECT_EQ(list.Entries(), (Items{u"a", u"b", u"c"}));
    EXPECT_FALSE(list.Insert(3, u"x"));
    EXPECT_TRUE(list.Remove(0));
    EXPECT_FALSE(list.Insert(3, u"x"));  // past the end
    EXPECT_FALSE(list.Remove(2));
    EXPECT_TRUE(list.Insert(2, u"x"));
    EXPECT_EQ(view.items, list.Entries());

    view.room = 2;
    list.Assign({u"a", u"b", u"c"});
    EXPECT_EQ(list.Entries(), (Items{u"a", u"b"}));
    EXPECT_FALSE(list.Insert(0, u"x"));
    EXPECT_EQ(view.items, list.Entries());
}

TEST(MarkList, ExtentFollowsTheWidestEntry)
{
    FakeListBox view;  // 6 pixels a character
    MarkList list(view, 10);
    EXPECT_EQ(list.Extent(), 10);
    list.Assign({u"aa", u"aaaa"});
    EXPECT_EQ(list.Extent(), 34);
    ASSERT_TRUE(list.Remove(1));
    EXPECT_EQ(list.Extent(), 22);
    ASSERT_TRUE(list.Insert(0, u"aaaaa"));
    EXPECT_EQ(list.Extent(), 40);
    view.scale = 2;
    list.ForgetWidths();
    EXPECT_EQ(list.Extent(), 70);
    list.Reorder({u"aa", u"aaaaa"});
    EXPECT_EQ(list.Extent(), 70);
}

// A long list is measured by its characters, not entry by entry, in each font.
TEST(MarkList, MeasuresCharactersNotEntries)
{
    FakeListBox view;
    MarkList list(view, 2000);
    list.Assign(Items(1000, u"[000:12:345] 注释:abc"));  // 15 distinct characters
    EXPECT_EQ(list.Extent(), 17 * 6 + 2 * 12 + 10);
    EXPECT_LE(view.measures, 15);
    view.scale = 2;
    list.ForgetWidths();
    EXPECT_EQ(list.Extent(), 2 * (17 * 6 + 2 * 12) + 10);
    EXPECT_LE(view.measures, 30);
}

} // namespace
} // namespace morvane::test
