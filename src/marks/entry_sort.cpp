#include "marks/entry_sort.h"

#include <utility>

namespace morvane::entry_sort {

bool TextLess(const std::u16string& a, const std::u16string& b)
{
    // char_traits<char16_t> compares code units as unsigned numbers.
    return a < b;
}

namespace {

// Sorts items[low..high], both within items. `pivot` is a buffer shared by
// every level: a pivot is needed only while its stretch is split, and
// copying each one into a string of its own costs an allocation per split.
void SortStretch(std::vector<std::u16string>& items, std::int32_t low, std::int32_t high, std::u16string& pivot)
{
    while (low < high) {
        std::int32_t i = low;
        std::int32_t j = high;
        pivot = items[low + (high - low) / 2];
        while (i <= j) {
            while (i < high && TextLess(items[i], pivot)) ++i;
            while (j > low && TextLess(pivot, items[j])) --j;
            if (i <= j) {
                std::swap(items[i], items[j]);
                ++i;
                --j;
            }
        }
        // low..j and i..high do not overlap, so the order in which they are
        // sorted does not change the result. Recursing into the shorter one
        // and going on with the longer one here keeps the depth below
        // log2(n) whatever the input.
        if (j - low < high - i) {
            if (low < j) SortStretch(items, low, j, pivot);
            low = i;
        } else {
            if (i < high) SortStretch(items, i, high, pivot);
            high = j;
        }
    }
}

} // namespace

void QuickSort(std::vector<std::u16string>& items, std::int32_t low, std::int32_t high)
{
    if (low < 0 || high < 0 || static_cast<std::size_t>(high) >= items.size()) return;
    std::u16string pivot;
    SortStretch(items, low, high, pivot);
}

std::vector<std::u16string> SortedEntries(std::vector<std::u16string> entries)
{
    // One extra empty element: after the sort the smallest element, which
    // is that one or an empty entry equal to it, is dropped again.
    const auto last = static_cast<std::int32_t>(entries.size());
    entries.emplace_back();
    QuickSort(entries, 0, last);
    entries.erase(entries.begin());
    return entries;
}

} // namespace morvane::entry_sort
