#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvane::mpris {

// %XX escapes decoded; nullopt when a '%' is not followed by two hex digits.
std::optional<std::string> PercentDecoded(std::string_view text);

// The local path a player's xesam:url names, for a file:// URI with no host
// (or "localhost") whose decoded path is UTF-8 and holds no NUL; empty for
// anything else: a stream, another scheme, a broken escape.
std::u16string LocalFilePath(std::string_view url);

} // namespace morvane::mpris
