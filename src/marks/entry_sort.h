#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvane::entry_sort {

// Ordinal order of UTF-16 code units: case-sensitive, locale-free, a text
// before every longer text that begins with it, the empty text first.
bool TextLess(const std::u16string& a, const std::u16string& b);

// Recursive quick sort of items[low..high] in place, in TextLess order.
// Does nothing when low is not below high or the stretch lies outside items.
void QuickSort(std::vector<std::u16string>& items, std::int32_t low, std::int32_t high);

// The list's own sort: entries plus one empty element sorted together, the
// smallest element dropped, so the result has as many entries as given.
std::vector<std::u16string> SortedEntries(std::vector<std::u16string> entries);

} // namespace morvane::entry_sort
