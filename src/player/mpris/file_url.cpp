#include "player/mpris/file_url.h"

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

bool StartsWithIgnoringCase(std::string_view text, std::string_view lower_start)
{
    return text.size() >= lower_start.size() &&
           std::ranges::equal(text.substr(0, lower_start.size()), lower_start, {},
                              [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
}

} // namespace

std::optional<std::string> PercentDecoded(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = HexDigit(text[i + 1]);
        const int low = HexDigit(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

std::u16string LocalFilePath(std::string_view url)
{
    // MPRIS's metadata guidelines (freedesktop.org, "MPRIS v2 metadata
    // guidelines", URI): URIs are sent as UTF-8 strings, and local files use
    // the file:// scheme. The host part of a file URI is empty or
    // "localhost" for this machine (RFC 8089).
    for (const std::string_view start : {"file://localhost/", "file:///"}) {
        if (!StartsWithIgnoringCase(url, start)) continue;
        const std::string_view path = url.substr(start.size() - 1);
        // A query or fragment names no file; a player escapes those in a name.
        if (path.find_first_of("?#") != std::string_view::npos) return {};
        const auto decoded = PercentDecoded(path);
        if (!decoded || decoded->find('\0') != std::string::npos) return {};
        return FromUtf8(*decoded).value_or(std::u16string());
    }
    return {};
}

} // namespace morvane::mpris
