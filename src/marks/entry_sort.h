#pragma once

#include <string>
#include <vector>

namespace morvane::entry_sort {

// The list's own sort: ascending ordinal order of UTF-16 code units,
// case-sensitive and locale-free, a text before every longer text that
// begins with it, the empty text first. Entries that compare equal are the
// same text, so no order among them can be told apart.
std::vector<std::u16string> SortedEntries(std::vector<std::u16string> entries);

} // namespace morvane::entry_sort
