#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvane::mark_merge {

// A mark added this close to one already in the list is the same mark.
inline constexpr std::int32_t kSameMarkMs = 300;

// `existing` and each of `added` that has no mark of `existing` within
// kSameMarkMs of it, in time order (the list's own sort). Entries without a time are
// kept, never dropped.
std::vector<std::u16string> Merged(std::vector<std::u16string> existing, const std::vector<std::u16string>& added);

} // namespace morvane::mark_merge
