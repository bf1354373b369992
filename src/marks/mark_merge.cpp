#include "marks/mark_merge.h"

#include <algorithm>
#include <optional>
#include <set>

#include "marks/entry_sort.h"
#include "stamps/entry.h"
#include "stamps/stamps.h"

namespace morvane::mark_merge {

namespace {

std::optional<std::int32_t> TimeOf(const std::u16string& entry)
{
    return ParseStamp(EntryStamp(entry)).value;
}

} // namespace

std::vector<std::u16string> Merged(std::vector<std::u16string> existing, const std::vector<std::u16string>& added)
{
    std::set<std::int32_t> times;
    for (const std::u16string& entry : existing)
        if (const auto ms = TimeOf(entry)) times.insert(*ms);
    for (const std::u16string& entry : added) {
        if (const auto ms = TimeOf(entry)) {
            const auto near = times.lower_bound(*ms - kSameMarkMs);
            if (near != times.end() && *near <= *ms + kSameMarkMs) continue;
        }
        existing.push_back(entry);
    }
    return entry_sort::SortedEntries(std::move(existing));
}

} // namespace morvane::mark_merge
