#include <gtest/gtest.h>

#include "app/settings/settings_file.h"
#include "faulty_lines.h"

namespace morvane::settings {
namespace {

// A file's text, the value it gives one setting as the file would write it,
// and the lines it names as faulty.
struct Case {
    const char* file;
    Setting setting;
    const char* value;
    std::vector<int> faulty_lines;
};

TEST(SettingsFile, ReadsEachLineAndNamesTheFaultyOnes)
{
    const Case cases[] = {
        {"passes = 3", Setting::Passes, "3", {}},
        {"\xEF\xBB\xBF; practice\r\n[practice]\r\n  PASSES=Unlimited \r\n", Setting::Passes, "unlimited", {}},
        {"gap = 1.5\nrewind = 2", Setting::Gap, "1.5", {}},
        {"step = 0.5", Setting::Step, "0.5", {}},
        {"speed = 0.75", Setting::Speed, "0.75", {}},
        // Faulty lines keep the default; the others still apply.
        {"passes = 0\ngap = 2", Setting::Gap, "2", {1}},
        {"passes = 100", Setting::Passes, "unlimited", {1}},
        {"passes = 2.5", Setting::Passes, "unlimited", {1}},
        {"gap = 10.5", Setting::Gap, "0", {1}},
        {"gap = 1e1", Setting::Gap, "0", {1}},
        {"rewind = two", Setting::Rewind, "0", {1}},
        {"step = 0.4\nstep = 3", Setting::Step, "3", {1}},
        {"speed = 5", Setting::Speed, "", {1}},
        {"gaps = 1\n\nrewind", Setting::Gap, "0", {1, 3}},
        {"gap = 1\ngap = 2", Setting::Gap, "1", {2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const SettingsFile file = ParseSettingsFile(c.file);
        EXPECT_EQ(ValueText(file.settings, c.setting), c.value);
        EXPECT_TRUE(test::NamesTheFaultyLines(file.problems, c.faulty_lines));
    }
}

TEST(SettingsFile, WritingOneSettingKeepsEveryOtherLine)
{
    Settings settings;
    settings.passes = 5;
    settings.gap_ms = 1500;
    const struct {
        const char* before;
        Setting setting;
        const char* after;
    } cases[] = {
        {"", Setting::Passes, "passes = 5\n"},
        {"; mine\r\nfoo = bar\r\nGap=3", Setting::Gap, "; mine\r\nfoo = bar\r\nGap= 1.5"},
        {"; passes = 1\npasses = x\npasses = 2\n", Setting::Passes, "; passes = 1\npasses = 5\npasses = 2\n"},
        {"\xEF\xBB\xBFgap = 1\r\n", Setting::Passes, "\xEF\xBB\xBFgap = 1\r\npasses = 5\r\n"},
        {"step = 3", Setting::Passes, "step = 3\npasses = 5\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        const std::string after = WithSetting(c.before, settings, c.setting);
        EXPECT_EQ(after, c.after);
        EXPECT_EQ(ValueText(ParseSettingsFile(after).settings, c.setting), ValueText(settings, c.setting));
    }
}

// The one table serves the menu, the file and its messages alike.
TEST(SettingsFile, EveryMenuChoiceReadsBackAndTheRangeHoldsInTheFile)
{
    for (const SettingRow& row : SettingTable()) {
        SCOPED_TRACE(row.name);
        for (const Value choice : row.choices) {
            Settings chosen;
            ASSERT_TRUE(Set(chosen, row.setting, choice));
            const SettingsFile file = ParseSettingsFile(WithSetting("", chosen, row.setting));
            EXPECT_EQ(Get(file.settings, row.setting), choice);
            EXPECT_EQ(file.problems, "");
        }
        const std::string name(row.name);
        for (const double edge : {row.lowest, row.highest})
            EXPECT_EQ(Get(ParseSettingsFile(name + "=" + NumberText(edge)).settings, row.setting), edge);
        const SettingsFile above = ParseSettingsFile(name + "=" + NumberText(row.highest + 1));
        EXPECT_EQ(Get(above.settings, row.setting), Get(Settings{}, row.setting));
        EXPECT_NE(above.problems.find(NumberText(row.lowest) + " 到 " + NumberText(row.highest)), std::string::npos);
        Settings below;
        EXPECT_FALSE(Set(below, row.setting, row.lowest - 0.001));
    }
}

} // namespace
} // namespace morvane::settings
