#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fakes.h"

namespace morvane::test {
namespace {

using Items = std::vector<std::u16string>;

TEST(MainFormSort, EmptyAndSingleLists)
{
    Rig empty;
    empty.form.Sort_Click();
    EXPECT_TRUE(empty.list_box.items.empty());
    EXPECT_EQ(empty.count_line.sets, 0);
    EXPECT_EQ(empty.list_box.extent_sets, 0);

    Rig single;
    single.Show({u"[000:01:000]"});
    single.form.Sort_Click();
    EXPECT_EQ(single.list_box.items, Items{u"[000:01:000]"});
}

TEST(MainFormSort, ReselectsThePositionInSelIndex)
{
    Rig r;
    r.Show({u"[000:05:000]", u"[000:01:000] 注释:b", u"[000:03:000]", u"[000:01:000]", u""});
    r.list_box.selected = 2;
    r.form.Mark_List_Click(r.list_box.selected);
    r.form.Sort_Click();

    EXPECT_EQ(r.list_box.items,
              (Items{u"", u"[000:01:000]", u"[000:01:000] 注释:b", u"[000:03:000]", u"[000:05:000]"}));
    EXPECT_EQ(r.list_box.selected, 2);  // now another entry stands there
    EXPECT_EQ(r.form.mark_list().Selection(), std::optional<int>(2));
    EXPECT_EQ(r.count_line.sets, 0);
    EXPECT_EQ(r.list_box.extent_sets, 0);

    // Without a selection since start-up the list is sorted, nothing selected.
    Rig fresh;
    fresh.Show({u"B", u"A"});
    fresh.form.Sort_Click();
    EXPECT_EQ(fresh.list_box.items, (Items{u"A", u"B"}));
    EXPECT_EQ(fresh.list_box.selected, -1);
    EXPECT_EQ(fresh.form.mark_list().Selection(), std::nullopt);
}

} // namespace
} // namespace morvane::test
