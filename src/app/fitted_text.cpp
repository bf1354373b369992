#include "app/fitted_text.h"

#include <optional>

namespace morvane {
namespace {

constexpr std::u16string_view kEllipsis = u"…";

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// The longest start of `text` that fits as `start…` followed by `after`,
// cut neither inside a surrogate pair nor after a space; nullopt when not
// even "…" and `after` fit.
std::optional<std::u16string> CutEnd(std::u16string_view text, std::u16string_view after, const TextBox& box)
{
    for (std::size_t keep = text.size(); keep-- > 0;) {
        if (keep > 0 && (IsHighSurrogate(text[keep - 1]) || text[keep - 1] == u' ')) continue;
        std::u16string cut = std::u16string(text.substr(0, keep)).append(kEllipsis).append(after);
        if (box.Fits(cut)) return cut;
    }
    return std::nullopt;
}

} // namespace

std::u16string FittedText(std::u16string_view name, std::u16string_view rest, const TextBox& box)
{
    const std::u16string whole = std::u16string(name).append(rest);
    if (box.Fits(whole)) return whole;
    while (rest.ends_with(u'.')) rest.remove_suffix(1);
    std::u16string shorter = std::u16string(name).append(rest);
    if (box.Fits(shorter)) return shorter;
    if (auto cut = CutEnd(name, rest, box)) return *cut;
    return CutEnd(shorter, {}, box).value_or(std::u16string(kEllipsis));
}

} // namespace morvane
