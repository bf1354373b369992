#include <gtest/gtest.h>

#include "app/command_line.h"

namespace morvane {
namespace {

using Args = std::vector<std::u16string>;
using Text = std::optional<std::u16string>;

TEST(CommandLine, EachOptionOfTheTable)
{
    const struct {
        Args arguments;
        Text player, keys_from, sentences, to, pause;
        bool keys;
        Args others;
    } cases[] = {
        {{}, {}, {}, {}, {}, {}, false, {}},
        {{u"--player", u"AIMP", u"--keys"}, u"AIMP", {}, {}, {}, {}, true, {}},
        {{u"--player=vlc", u"--keys-from", u"portal"}, u"vlc", u"portal", {}, {}, {}, false, {}},
        // A value option takes the next argument, whatever it is.
        {{u"--player", u"--keys"}, u"--keys", {}, {}, {}, {}, false, {}},
        {{u"--player"}, u"", {}, {}, {}, {}, false, {}},
        {{u"--sentences", u"a.mp3", u"--to", u"a.txt", u"--pause=0.4"}, {}, {}, u"a.mp3", u"a.txt", u"0.4", false, {}},
        {{u"--keys=yes", u"-player", u"x", u"--Player"}, {}, {}, {}, {}, {}, false,
         {u"--keys=yes", u"-player", u"x", u"--Player"}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const CommandLine line = ParseCommandLine(c.arguments);
        EXPECT_EQ(line.player, c.player) << "case " << i;
        EXPECT_EQ(line.keys, c.keys) << "case " << i;
        EXPECT_EQ(line.keys_from, c.keys_from) << "case " << i;
        EXPECT_EQ(line.sentences, c.sentences) << "case " << i;
        EXPECT_EQ(line.to, c.to) << "case " << i;
        EXPECT_EQ(line.pause, c.pause) << "case " << i;
        EXPECT_EQ(line.others, c.others) << "case " << i;
    }
}

} // namespace
} // namespace morvane
