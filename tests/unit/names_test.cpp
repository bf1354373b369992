#include <gtest/gtest.h>

#include "text/names.h"
#include "text/utf8.h"

namespace morvane {
namespace {

TEST(Names, SameNameAndTrim)
{
    const struct {
        std::string_view a, b;
        bool same;
    } names[] = {{"KPAdd", "kpadd", true}, {"Ctrl", "CTRL", true}, {"Ctrl", "Ctr", false},
                 {"\xC3\x84", "\xC3\xA4", false}, {"", "", true}};
    for (const auto& n : names) EXPECT_EQ(SameName(n.a, n.b), n.same) << n.a << " / " << n.b;

    EXPECT_EQ(TrimSpaces(" \tname = x\r"), "name = x");
    EXPECT_EQ(TrimSpaces(" \t\r"), "");
}

TEST(Names, AppendUtf16PairsAboveTheBasicPlane)
{
    std::u16string out;
    for (const char32_t c : {U'a', U'\u4E2D', U'\U0001F600', U'\U0010FFFF'}) AppendUtf16(out, c);
    EXPECT_EQ(out, u"a\u4E2D\U0001F600\U0010FFFF");
}

} // namespace
} // namespace morvane
