#pragma once

#include <string_view>

namespace morvane {

// Names the user writes (key names, setting and action ids, option values):
// ASCII letters in any case are the same.
bool SameName(std::string_view a, std::string_view b);
// Without the spaces, tabs and CRs around it.
std::string_view TrimSpaces(std::string_view text);

} // namespace morvane
