#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// The UTF-8 byte-order mark, as Notepad writes it before UTF-8 text.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// A count as decimal digits, for messages.
std::u16string CountText(std::size_t count);

// A code point as one UTF-16 unit, or as a surrogate pair above U+FFFF.
void AppendUtf16(std::u16string& out, char32_t c);

std::string ToUtf8(std::u16string_view text);
// nullopt for bytes that are not well-formed UTF-8.
std::optional<std::u16string> FromUtf8(std::string_view bytes);
// The same with every byte that is not part of a well-formed sequence
// read as U+FFFD, for text that is shown, not kept.
std::u16string FromUtf8Replacing(std::string_view bytes);

} // namespace morvane
