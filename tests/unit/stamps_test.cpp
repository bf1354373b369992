#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "stamps/stamps.h"

namespace morvane {
namespace {

std::u16string Sec(std::u16string_view text)
{
    auto result = FormatSec(text);
    return result ? *result.value : u"<failed>";
}

std::int32_t Ms(std::u16string_view text)
{
    auto result = ParseStamp(text);
    return result ? *result.value : -999999;
}

TEST(FormatMs, FieldBoundariesAndWideMinutes)
{
    EXPECT_EQ(FormatMs(-1), u"[000:00:000]");
    EXPECT_EQ(FormatMs(std::numeric_limits<std::int32_t>::min()), u"[000:00:000]");
    EXPECT_EQ(FormatMs(0), u"[000:00:000]");
    EXPECT_EQ(FormatMs(50), u"[000:00:050]");
    EXPECT_EQ(FormatMs(999), u"[000:00:999]");
    EXPECT_EQ(FormatMs(1000), u"[000:01:000]");
    EXPECT_EQ(FormatMs(83400), u"[001:23:400]");
    EXPECT_EQ(FormatMs(59999), u"[000:59:999]");
    EXPECT_EQ(FormatMs(60000), u"[001:00:000]");
    EXPECT_EQ(FormatMs(3600000), u"[060:00:000]");
    EXPECT_EQ(FormatMs(59999999), u"[999:59:999]");
    EXPECT_EQ(FormatMs(60000000), u"[1000:00:000]");
    EXPECT_EQ(FormatMs(std::numeric_limits<std::int32_t>::max()), u"[35791:23:647]");
}

TEST(FormatSec, RoundsDownAndClampsNegatives)
{
    EXPECT_EQ(Sec(u"0"), u"[000:00]");
    EXPECT_EQ(Sec(u"0.999"), u"[000:00]");
    EXPECT_EQ(Sec(u"59.999"), u"[000:59]");
    EXPECT_EQ(Sec(u"60"), u"[001:00]");
    EXPECT_EQ(Sec(u"83.412"), u"[001:23]");
    EXPECT_EQ(Sec(u"3599.999"), u"[059:59]");
    EXPECT_EQ(Sec(u"32767"), u"[546:07]");
    EXPECT_EQ(Sec(u"59999"), u"[999:59]");
    EXPECT_EQ(Sec(u"60000"), u"[1000:00]");
    EXPECT_EQ(Sec(u"2147483647.9"), u"[35791394:07]");
    EXPECT_EQ(Sec(u" +7. "), u"[000:07]");
    EXPECT_EQ(Sec(u".5"), u"[000:00]");
    EXPECT_EQ(Sec(u"-1"), u"[000:00]");
    EXPECT_EQ(Sec(u"-0.001"), u"[000:00]");
    EXPECT_EQ(Sec(u"-99999999999999999999"), u"[000:00]");
}

TEST(FormatSec, RefusesOtherNotationsAndOutOfRange)
{
    for (const auto* text : {u"", u" ", u".", u"-", u"abc", u"1e3", u"0x10", u"1,5", u"1.2.3", u"- 1",
                             u"12a", u"\uFF11"}) {
        auto result = FormatSec(text);
        EXPECT_FALSE(result) << "accepted a text";
        EXPECT_EQ(result.error, StampError::Conversion);
    }
    for (const auto* text : {u"2147483648", u"99999999999999999999.5"}) {
        auto result = FormatSec(text);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.error, StampError::Overflow);
    }
}

TEST(ParseStamp, ReadsFieldsByPosition)
{
    EXPECT_EQ(Ms(u"[000:01:600]"), 1600);
    EXPECT_EQ(Ms(u"[999:59:999]"), 59999999);
    EXPECT_EQ(Ms(u"[001:02:345] \u6CE8\u91CA:abc"), 62345);
    EXPECT_EQ(Ms(u"[000:00: 50]"), 50);
    EXPECT_EQ(Ms(u"[ 1 : 2:3  ]"), 62003);
    EXPECT_EQ(Ms(u"[000:75:000]"), 75000);
    EXPECT_EQ(Ms(u"[-01:00:000]"), -60000);
    EXPECT_EQ(Ms(u"[+01:-1:000]"), 59000);
    EXPECT_EQ(Ms(u"x012y34z567w"), 754567);
    EXPECT_EQ(Ms(u"[000:00:12"), 12);  // the millisecond field ends with the text
}

TEST(ParseStamp, ConversionFailures)
{
    for (const auto* text : {u"", u"[", u"[000:00:", u"[000:00:5]", u"[1000:00:000]", u"[abc:00:000]",
                             u"[0.1:00:000]", u"[0x1:00:000]", u"[1e2:00:000]", u"[- 1:00:000]"}) {
        auto result = ParseStamp(text);
        EXPECT_FALSE(result) << "accepted a text";
        EXPECT_EQ(result.error, StampError::Conversion);
    }
}

TEST(ParseStamp, RoundTripsEveryTwelveCharacterStamp)
{
    for (std::int32_t p = 0; p < 60000000; p += 997) EXPECT_EQ(Ms(FormatMs(p)), p) << p;
    for (std::int32_t p : {59999, 60000, 59999999}) EXPECT_EQ(Ms(FormatMs(p)), p);
    EXPECT_EQ(Ms(FormatMs(-5)), 0);
    EXPECT_FALSE(ParseStamp(FormatMs(60000000)));
}

TEST(DecimalText, WrittenAsFormatSecReadsIt)
{
    EXPECT_EQ(DecimalText(245), u"245");
    EXPECT_EQ(DecimalText(-7), u"-7");
    EXPECT_EQ(SecondsText(83412), u"83.412");
    EXPECT_EQ(SecondsText(83400), u"83.4");
    EXPECT_EQ(SecondsText(5), u"0.005");
    EXPECT_EQ(SecondsText(-500), u"-0.5");
    EXPECT_EQ(SecondsText(std::numeric_limits<std::int32_t>::min()), u"-2147483.648");
    for (std::int32_t ms : {0, 999, 1000, 83412, 59999999, std::numeric_limits<std::int32_t>::max()})
        EXPECT_EQ(Sec(SecondsText(ms)), FormatMs(ms).substr(0, FormatMs(ms).size() - 5) + u']');
    EXPECT_EQ(Sec(SecondsText(-1)), u"[000:00]");
    EXPECT_EQ(Sec(DecimalText(std::numeric_limits<std::int32_t>::max())), u"[35791394:07]");
}

} // namespace
} // namespace morvane
