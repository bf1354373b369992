// What both front ends leave to the core: where the keyboard's context menu
// appears and where the file dialogs start.

#include <gtest/gtest.h>

#include "app/list_menu_point.h"
#include "app/platform_values.h"

namespace morvane {
namespace {

TEST(KeyboardMenuPoint, BelowTheEntryWhileInViewElseTheTopLeft)
{
    const ListRect view{0, 0, 200, 100};
    const struct {
        std::optional<ListRect> entry;
        int x, y;
    } cases[] = {
        {std::nullopt, 0, 0},
        {ListRect{0, 20, 200, 36}, 0, 36},
        {ListRect{0, 90, 200, 106}, 0, 100},   // partly below: kept inside
        {ListRect{-30, -10, 170, 6}, 0, 6},    // partly above, scrolled sideways
        {ListRect{0, 100, 200, 116}, 0, 0},    // just below the view
        {ListRect{0, -16, 200, 0}, 0, 0},      // just above it
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const ListPoint at = KeyboardMenuPoint(cases[i].entry, view);
        EXPECT_EQ(at.x, cases[i].x) << "case " << i;
        EXPECT_EQ(at.y, cases[i].y) << "case " << i;
    }
}

TEST(DialogFolder, EachPlatformsRule)
{
    DialogFolder windows(kWindowsValues.dialog_start, u"C:\\Morvane");
    windows.Chosen(u"D:\\lessons\\a.txt");
    EXPECT_EQ(windows.Start(), u"C:\\Morvane");

    DialogFolder linux_folder(kLinuxValues.dialog_start, u"/home/u");
    const struct {
        std::u16string_view chosen, start;
    } steps[] = {{u"/home/u/lessons/a.txt", u"/home/u/lessons"}, {u"/a.txt", u"/"}, {u"b.txt", u"/"}};
    for (const auto& step : steps) {
        linux_folder.Chosen(step.chosen);
        EXPECT_EQ(linux_folder.Start(), step.start);
    }
}

} // namespace
} // namespace morvane
