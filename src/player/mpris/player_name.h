#pragma once

#include <string>
#include <string_view>

namespace morvane::mpris {

// The player's Identity as the state line names it, its product name short
// enough to leave the state word beside it in view: "VLC media player" is
// "VLC", "Mozilla firefox-esr" is "Firefox", "Clementine 1.4.0" is
// "Clementine". A name still too long keeps its start, cut with "…".
std::u16string ShortName(std::u16string_view identity);

} // namespace morvane::mpris
