#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/keeping/mark_store.h"

namespace morvane::keeping {

// What 退出 would otherwise throw away: a list changed since it was last
// saved or loaded. The running program keeps its list in one file, replaced
// at every change, so a crash loses at most the last one; what the last run
// left is offered from another file until it is taken, or until this run
// ends with a changed list of its own.
class Recovery {
public:
    Recovery(const MarkStore& store, std::u16string data_folder);

    // At start-up: a run that ended without its end (a crash) left its list
    // in the running file; it becomes the one offered.
    void Start();
    // How many entries the last run left; 0: nothing is offered.
    std::size_t Offered() const { return offered_.size(); }
    // Those entries; nothing is offered any more.
    std::vector<std::u16string> TakeOffered();

    // The list as it stands now was saved to or loaded from a file.
    void Saved(const std::vector<std::u16string>& entries);
    // The list may have changed: the running file follows it.
    void Follow(const std::vector<std::u16string>& entries);
    // 退出: a changed list becomes the one offered next time.
    void End(const std::vector<std::u16string>& entries);

private:
    bool Changed(const std::vector<std::u16string>& entries) const { return entries != saved_; }
    void Keep(const std::u16string& path, const std::vector<std::u16string>& entries);

    const MarkStore& store_;
    std::u16string data_folder_;
    std::u16string offered_path_;
    std::u16string running_path_;
    std::vector<std::u16string> offered_;
    std::vector<std::u16string> saved_;    // the list as last saved or loaded
    std::vector<std::u16string> running_;  // what the running file holds
};

} // namespace morvane::keeping
