#include "marks/entry_sort.h"

#include <algorithm>

namespace morvane::entry_sort {

std::vector<std::u16string> SortedEntries(std::vector<std::u16string> entries)
{
    // char_traits<char16_t> compares code units as unsigned numbers.
    std::ranges::sort(entries);
    return entries;
}

} // namespace morvane::entry_sort
