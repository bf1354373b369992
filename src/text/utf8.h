#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvane {

std::string ToUtf8(std::u16string_view text);
// nullopt for bytes that are not well-formed UTF-8.
std::optional<std::u16string> FromUtf8(std::string_view bytes);

} // namespace morvane
