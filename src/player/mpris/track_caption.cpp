#include "player/mpris/track_caption.h"

#include <algorithm>

#include "text/utf8.h"

namespace morvane::mpris {
namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// %XX escapes decoded; a malformed escape stays as it stands.
std::string PercentDecoded(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = HexDigit(text[i + 1]);
            const int low = HexDigit(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// The last path segment of a URL, decoded; a plain path (no scheme) is
// taken as it is.
std::string FileName(std::string_view url)
{
    const auto scheme_end = url.find("://");
    const bool is_url = scheme_end != std::string_view::npos;
    if (is_url) {
        url.remove_prefix(scheme_end + 3);
        url = url.substr(0, url.find_first_of("?#"));
    }
    while (!url.empty() && url.back() == '/') url.remove_suffix(1);
    const auto slash = url.rfind('/');
    if (slash != std::string_view::npos) url.remove_prefix(slash + 1);
    if (!is_url) return std::string(url);
    // Names in another encoding than UTF-8 are shown still escaped.
    std::string decoded = PercentDecoded(url);
    return FromUtf8(decoded) ? decoded : std::string(url);
}

void Append(std::u16string& caption, std::string_view piece)
{
    if (piece.empty()) return;
    const auto text = FromUtf8(piece);
    if (!text) return;
    if (!caption.empty()) caption += u" - ";
    caption += *text;
}

} // namespace

std::u16string TrackCaption(std::string_view title, std::string_view url, std::string_view identity)
{
    std::u16string caption;
    Append(caption, title.empty() ? FileName(url) : std::string(title));
    Append(caption, identity);
    std::replace_if(caption.begin(), caption.end(), [](char16_t c) { return c < 0x20 || c == 0x7F; }, u' ');
    return caption;
}

} // namespace morvane::mpris
