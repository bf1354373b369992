#include "text/utf8.h"

namespace morvane {

std::u16string CountText(std::size_t count)
{
    const std::string digits = std::to_string(count);
    return std::u16string(digits.begin(), digits.end());
}

namespace {

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

void AppendUtf16(std::u16string& out, char32_t c)
{
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

std::string ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            // A lone surrogate has no UTF-8 form.
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

namespace {

// The well-formed sequence at the front of `bytes` appended to `out`; how
// many bytes it took, 0 when the front is not well-formed.
std::size_t DecodeOne(std::string_view bytes, std::u16string& out)
{
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (lead < 0x80) {
        out += static_cast<char16_t>(lead);
        return 1;
    }
    // Continuation bytes, payload of the lead byte, smallest code point
    // that needs this many bytes.
    std::size_t extra = 0;
    char32_t c = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        c = lead & 0x1F;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        c = lead & 0x0F;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        c = lead & 0x07;
        smallest = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() <= extra) return 0;
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(bytes[k]);
        if ((next & 0xC0) != 0x80) return 0;
        c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms, encoded surrogates and code points past U+10FFFF.
    if (c < smallest || c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c)) return 0;
    AppendUtf16(out, c);
    return extra + 1;
}

} // namespace

std::optional<std::u16string> FromUtf8(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        const std::size_t used = DecodeOne(bytes, out);
        if (used == 0) return std::nullopt;
        bytes.remove_prefix(used);
    }
    return out;
}

std::u16string FromUtf8Replacing(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        std::size_t used = DecodeOne(bytes, out);
        if (used == 0) {
            out += u'\uFFFD';
            used = 1;
        }
        bytes.remove_prefix(used);
    }
    return out;
}

} // namespace morvane
