#include "app/keeping/recovery.h"

#include <utility>

namespace morvane::keeping {

Recovery::Recovery(const MarkStore& store, std::u16string data_folder)
    : store_(store),
      data_folder_(std::move(data_folder)),
      offered_path_(data_folder_ + u"上次退出时的标记.txt"),
      running_path_(data_folder_ + u"未保存的标记.txt")
{
}

void Recovery::Start()
{
    if (data_folder_.empty()) return;
    MarkStore::Read left = store_.ReadMarks(running_path_);
    if (left.kind == MarkStore::Read::Kind::Marks && !left.entries.empty()) {
        Keep(offered_path_, left.entries);
        Keep(running_path_, {});
        offered_ = std::move(left.entries);
        return;
    }
    MarkStore::Read offered = store_.ReadMarks(offered_path_);
    if (offered.kind == MarkStore::Read::Kind::Marks) offered_ = std::move(offered.entries);
}

std::vector<std::u16string> Recovery::TakeOffered()
{
    if (!offered_.empty()) Keep(offered_path_, {});
    return std::exchange(offered_, {});
}

void Recovery::Saved(const std::vector<std::u16string>& entries)
{
    saved_ = entries;
    Follow(entries);
}

void Recovery::Follow(const std::vector<std::u16string>& entries)
{
    Keep(running_path_, Changed(entries) ? entries : std::vector<std::u16string>());
}

void Recovery::End(const std::vector<std::u16string>& entries)
{
    if (Changed(entries)) Keep(offered_path_, entries);
    Keep(running_path_, {});
}

// Best effort: a file that cannot be written leaves the list in the window
// as it is, and the next change tries again.
void Recovery::Keep(const std::u16string& path, const std::vector<std::u16string>& entries)
{
    if (data_folder_.empty() || (path == running_path_ && entries == running_)) return;
    if (!store_.files().MakeFolder(data_folder_) || !store_.Write(path, entries).empty()) return;
    if (path == running_path_) running_ = entries;
}

} // namespace morvane::keeping
