#pragma once

#include <string>
#include <vector>

namespace morvane {

// The list's entries as the parts that fill it by themselves (自动分句, the
// marks kept with a recording, the recovery) see them.
class EntryList {
public:
    virtual ~EntryList() = default;
    virtual const std::vector<std::u16string>& Entries() const = 0;
    // `entries` in place of the whole list, shown at once.
    virtual void ReplaceEntries(std::vector<std::u16string> entries) = 0;
};

} // namespace morvane
