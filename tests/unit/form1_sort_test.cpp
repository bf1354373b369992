#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fakes.h"

namespace morvane::test {
namespace {

using Items = std::vector<std::u16string>;

TEST(Form1Sort, EmptyAndSingleLists)
{
    Rig empty;
    empty.form.C_sort_Click();
    EXPECT_TRUE(empty.List1.items.empty());
    EXPECT_EQ(empty.Text1.sets, 0);
    EXPECT_EQ(empty.List1.extent_sets, 0);

    Rig single;
    single.Show({u"[000:01:000]"});
    single.form.C_sort_Click();
    EXPECT_EQ(single.List1.items, Items{u"[000:01:000]"});
}

TEST(Form1Sort, ReselectsThePositionInSelIndex)
{
    Rig r;
    r.Show({u"[000:05:000]", u"[000:01:000] 注释:b", u"[000:03:000]", u"[000:01:000]", u""});
    r.List1.selected = 2;
    r.form.List1_Click();
    r.form.C_sort_Click();

    EXPECT_EQ(r.List1.items,
              (Items{u"", u"[000:01:000]", u"[000:01:000] 注释:b", u"[000:03:000]", u"[000:05:000]"}));
    EXPECT_EQ(r.List1.selected, 2);  // now another entry stands there
    EXPECT_EQ(r.form.mark_list().Selection(), std::optional<int>(2));
    EXPECT_EQ(r.Text1.sets, 0);
    EXPECT_EQ(r.List1.extent_sets, 0);

    // Without a selection since start-up the list is sorted, nothing selected.
    Rig fresh;
    fresh.Show({u"B", u"A"});
    fresh.form.C_sort_Click();
    EXPECT_EQ(fresh.List1.items, (Items{u"A", u"B"}));
    EXPECT_EQ(fresh.List1.selected, -1);
    EXPECT_EQ(fresh.form.mark_list().Selection(), std::nullopt);
}

} // namespace
} // namespace morvane::test
