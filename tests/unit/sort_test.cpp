#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "marks/entry_sort.h"

namespace morvane::entry_sort {
namespace {

// Texts that make the sort's life hard: duplicates, empty texts, equal
// stamps with and without a note, notes differing only in letter case.
std::u16string RandomText(std::mt19937& random)
{
    static const std::u16string kTexts[] = {
        u"",
        u"[000:10:000]",
        u"[000:10:000] \u6CE8\u91CA:",
        u"[000:10:000] \u6CE8\u91CA:abc",
        u"[000:10:000] \u6CE8\u91CA:ABC",
        u"[000:10:000] \u6CE8\u91CA:Abc",
        u"[000:09:999]",
        u"[001:00:000] \u6CE8\u91CA:\U0001F600",
        u"[1000:00:000]",
        u"\uFFFF",
        u"z",
    };
    return kTexts[std::uniform_int_distribution<std::size_t>(0, std::size(kTexts) - 1)(random)];
}

TEST(SortedEntries, OrdersTheHardTexts)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::u16string> items(std::uniform_int_distribution<std::size_t>(1, 40)(random));
        for (auto& item : items) item = RandomText(random);
        const std::vector<std::u16string> sorted = SortedEntries(items);
        ASSERT_TRUE(std::ranges::is_sorted(sorted)) << "round " << round;
        ASSERT_TRUE(std::ranges::is_permutation(sorted, items)) << "round " << round;
    }
}

TEST(SortedEntries, KeepsEveryEntry)
{
    EXPECT_TRUE(SortedEntries({}).empty());
    EXPECT_EQ(SortedEntries({u"x"}), (std::vector<std::u16string>{u"x"}));

    const std::vector<std::u16string> entries = {u"[000:20:000]", u"", u"[000:10:000] \u6CE8\u91CA:a",
                                                 u"", u"[000:10:000]"};
    EXPECT_EQ(SortedEntries(entries),
              (std::vector<std::u16string>{u"", u"", u"[000:10:000]", u"[000:10:000] \u6CE8\u91CA:a",
                                           u"[000:20:000]"}));
    // By code unit: upper case first, a surrogate pair below U+E000.
    EXPECT_EQ(SortedEntries({u"\uFFFF", u"b", u"\U0001F600", u"B"}),
              (std::vector<std::u16string>{u"B", u"b", u"\U0001F600", u"\uFFFF"}));
}

TEST(SortedEntries, FullListOfEqualOrOrderedEntries)
{
    const std::size_t n = 32767;
    const std::vector<std::u16string> equal(n, u"[000:10:000]");
    EXPECT_EQ(SortedEntries(equal), equal);

    std::vector<std::u16string> ordered;
    for (std::size_t k = 0; k < n; ++k) {
        const std::string digits = std::to_string(100000 + k);
        ordered.emplace_back(digits.begin(), digits.end());
    }
    EXPECT_EQ(SortedEntries(ordered), ordered);

    std::vector<std::u16string> reversed(ordered.rbegin(), ordered.rend());
    EXPECT_EQ(SortedEntries(reversed), ordered);
}

} // namespace
} // namespace morvane::entry_sort
