#include "app/platform_values.h"

namespace morvane {

void DialogFolder::Chosen(std::u16string_view path)
{
    if (start_ != DialogStart::LastChosen) return;
    const std::size_t slash = path.find_last_of(u"/\\");
    if (slash == std::u16string_view::npos) return;
    // A root keeps its separator ("/", "C:\").
    const bool root = slash == 0 || path[slash - 1] == u':';
    folder_ = std::u16string(path.substr(0, root ? slash + 1 : slash));
}

} // namespace morvane
