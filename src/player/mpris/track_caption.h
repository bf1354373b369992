#pragma once

#include <string>
#include <string_view>

namespace morvane::mpris {

// The caption for the player's track, all inputs UTF-8: the track title,
// else the file name from its URL, then " - " and the player's Identity.
// With neither title nor URL it is the Identity alone. Control characters
// become spaces so the caption stays one line.
std::u16string TrackCaption(std::string_view title, std::string_view url, std::string_view identity);

} // namespace morvane::mpris
