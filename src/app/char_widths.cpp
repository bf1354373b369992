#include "app/char_widths.h"

#include <algorithm>

namespace morvane {
namespace {

// Characters drawn as one glyph each, side by side, with no shaping: a text
// made of these alone is as wide as its characters together. Others
// (controls, combining marks, complex scripts, surrogate halves) are
// measured with the text they stand in.
bool AddsUp(char16_t c)
{
    return (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c < 0x300) ||  // Latin
           (c >= 0x2010 && c < 0x2028) || (c >= 0x2030 && c < 0x205F) ||  // dashes, quotes, …
           (c >= 0x3000 && c < 0x302A) || (c >= 0x3030 && c < 0x3099) || (c >= 0x309B && c < 0x3100) ||  // kana
           (c >= 0x3400 && c < 0xA000) ||   // CJK ideographs
           (c >= 0xFF01 && c < 0xFF61);     // full-width forms
}

} // namespace

std::optional<int> CharWidths::Width(const std::u16string& text)
{
    if (!std::ranges::all_of(text, AddsUp)) return view_.TextWidth(text);
    if (widths_.empty()) widths_.assign(0x10000, -1);
    int width = 0;
    for (const char16_t c : text) {
        int& known = widths_[c];
        if (known < 0) {
            const std::optional<int> measured = view_.TextWidth(std::u16string(1, c));
            if (!measured) return std::nullopt;
            known = *measured;
        }
        width += known;
    }
    return width;
}

} // namespace morvane
