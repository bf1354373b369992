#include <gtest/gtest.h>

#include "app/keys/key_source.h"
#include "app/keys/keys_file.h"
#include "faulty_lines.h"

namespace morvane::keys {
namespace {

// A file's text, then what it makes of one action and which lines it names
// as faulty ("" when it takes every line).
struct Case {
    const char* file;
    HotKey action;
    const char* key;  // ChordText, "none", or "default" for the built-in key
    std::vector<int> faulty_lines;
};

std::string Shown(const Binding& binding)
{
    if (!binding.written) return binding.chord ? "default" : "none";
    return binding.chord ? ChordText(*binding.chord) : "none";
}

TEST(KeysFile, ReadsEachLineAndNamesTheFaultyOnes)
{
    const Case cases[] = {
        {"", HotKey::Play, "default", {}},
        {"play = P", HotKey::Play, "P", {}},
        {"\xEF\xBB\xBF; transcribing\r\n[keys]\r\n\r\n  RECORD=ctrl + alt + 0  \r\n", HotKey::Record, "Ctrl+Alt+0", {}},
        {"# comment\nrecord = Win+Shift+KP7", HotKey::Record, "Shift+Super+KP7", {}},
        {"repeat = none", HotKey::Repeat, "none", {}},
        {"back = F7\nforward = f12", HotKey::Forward, "F12", {}},
        {"repeat = none\nmark = Ctrl+Shift", HotKey::Mark, "Ctrl+Shift", {}},
        {"back = ,\nforward = Period\nnext = KPDecimal", HotKey::Forward, "Period", {}},
        // Faulty lines keep the action's built-in key; the rest still apply.
        {"plya = P\npause = F8", HotKey::Pause, "F8", {1}},
        {"pause = F13\nplay = F1", HotKey::Pause, "default", {1}},
        {"pause = Ctrl+Alt\npause = Alt+Ctrl+Q", HotKey::Pause, "Ctrl+Alt+Q", {1}},
        {"pause = Hyper+Q", HotKey::Pause, "default", {1}},
        {"pause = Shift+Shift", HotKey::Pause, "default", {1}},
        {"pause = Ctrl+", HotKey::Pause, "default", {1}},
        {"pause = PP", HotKey::Pause, "default", {1}},
        {"pause", HotKey::Pause, "default", {1}},
        {"play = Ctrl+P\n\npause = ctrl+p", HotKey::Pause, "default", {3}},
        {"play = Ctrl+P\npause = P", HotKey::Pause, "P", {}},
        {"play = F1\nplay = F2", HotKey::Play, "F1", {2}},
        {"play = P\npause = Shift+P", HotKey::Pause, "default", {2}},  // P takes Shift too
        // A key that another action keeps built in: the line gives way, so
        // the built-in action keeps it and its own action gets its key back.
        {"record = Ctrl+Alt+S", HotKey::Record, "default", {1}},
        {"mark = Ctrl+Shift", HotKey::Mark, "default", {1}},
        {"record = S\nstop = F9", HotKey::Record, "S", {}},
        {"record = S\nplay = KP0", HotKey::Play, "default", {1, 2}},
        // The practice actions have no built-in key.
        {"", HotKey::Loop, "none", {}},
        {"Previous_Mark = Ctrl+Alt+KP4\nnext_mark = ctrl+alt+kp6", HotKey::PreviousMark, "Ctrl+Alt+KP4", {}},
        {"slower = Ctrl+Alt+KP4\nfaster = Ctrl+Alt+KP4", HotKey::Faster, "none", {2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const KeysFile file = ParseKeysFile(c.file);
        EXPECT_EQ(Shown(file.map[c.action]), c.key);
        EXPECT_TRUE(test::NamesTheFaultyLines(file.problems, c.faulty_lines));
    }
    // The message names the action that keeps the key.
    EXPECT_NE(ParseKeysFile("record = S").problems.find("第 1 行：按下 S 也会触发 stop 的内置按键 S"), std::string::npos);
}

TEST(KeysFile, MessageStaysShortWhateverTheFileHolds)
{
    const std::string long_line = "play = " + std::string(300, 'x') + "\n";
    std::string text;
    for (int i = 0; i < 100; ++i) text += long_line;
    EXPECT_LT(ParseKeysFile(text).problems.size(), 2000u);
}

TEST(KeyMap, WrittenKeysMatchTheirModifiersExactlyAndBuiltInKeysIgnoreThem)
{
    const KeyMap built_in;
    EXPECT_TRUE(Acts(built_in[HotKey::Play], kCtrl | kAlt));
    EXPECT_TRUE(Acts(built_in[HotKey::Mark], kCtrl | kShift));

    const KeyMap map = ParseKeysFile("record = Ctrl+Alt+0\npause = F8\nrepeat = none\nmark = Ctrl").map;
    EXPECT_TRUE(Acts(map[HotKey::Record], kCtrl | kAlt));
    EXPECT_FALSE(Acts(map[HotKey::Record], 0));
    EXPECT_FALSE(Acts(map[HotKey::Record], kCtrl | kAlt | kShift));
    EXPECT_TRUE(Acts(map[HotKey::Pause], 0));
    EXPECT_TRUE(Acts(map[HotKey::Pause], kShift));
    EXPECT_FALSE(Acts(map[HotKey::Pause], kAlt));
    EXPECT_FALSE(Acts(map[HotKey::Pause], kSuper));
    EXPECT_FALSE(Acts(map[HotKey::Repeat], 0));
    EXPECT_TRUE(Acts(map[HotKey::Mark], kCtrl));  // its own key is no extra modifier
    EXPECT_FALSE(Acts(map[HotKey::Mark], kCtrl | kAlt));

    // The listing tells a built-in key from an action that has none.
    const std::string listing = KeyMapText(map, "k.ini", true);
    for (const char* line : {"\nplay = P（内置，忽略修饰键）\n", "\npause = F8\n", "\nrepeat = none\n",
                             "\nloop = none（没有内置按键，可在按键设置文件中设置）\n"})
        EXPECT_NE(listing.find(line), std::string::npos) << line;
}

// XWayland would show XInput2 only X programs' keys.
TEST(KeySource, XInput2OnlyOnXInAnXSessionUnlessThePortalIsChosen)
{
    EXPECT_EQ(ChooseKeySource("xcb", "x11", false), KeySource::XInput2);
    EXPECT_EQ(ChooseKeySource("xcb", "", false), KeySource::XInput2);
    EXPECT_EQ(ChooseKeySource("xcb", "wayland", false), KeySource::Portal);
    EXPECT_EQ(ChooseKeySource("wayland", "wayland", false), KeySource::Portal);
    EXPECT_EQ(ChooseKeySource("xcb", "x11", true), KeySource::Portal);
}

} // namespace
} // namespace morvane::keys
