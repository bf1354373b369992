#include "player/mpris/track_caption.h"

#include <algorithm>

#include "player/mpris/file_url.h"
#include "text/utf8.h"

namespace morvane::mpris {
namespace {

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
    // Names in another encoding than UTF-8, or with a broken escape, are shown as sent.
    const auto decoded = PercentDecoded(url);
    return decoded && FromUtf8(*decoded) ? *decoded : std::string(url);
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
