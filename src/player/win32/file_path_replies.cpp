#include "player/win32/file_path_replies.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "text/utf8.h"

namespace morvane::win32players {
namespace {

// TAIMPRemoteFileInfo (apiRemote.h of the AIMP SDK, packed): Deprecated1,
// Active, BitRate, Channels, Duration, FileSize (8 bytes), FileMark,
// SampleRate, TrackNumber, then AlbumLength, ArtistLength, DateLength,
// FileNameLength, GenreLength and TitleLength at 40, then Deprecated2[6].
constexpr std::size_t kAimpHeaderSize = 88;
constexpr std::size_t kAimpLengthsAt = 40;
constexpr std::size_t kAimpTextCount = 6;

std::u16string LocalOrNothing(std::u16string path) { return IsLocalPath(path) ? path : std::u16string(); }

} // namespace

bool IsLocalPath(std::u16string_view path)
{
    if (path.find(u'\0') != std::u16string_view::npos) return false;
    const auto letter = [](char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); };
    if (path.size() > 3 && letter(path[0]) && path[1] == u':' && (path[2] == u'\\' || path[2] == u'/')) return true;
    return path.size() > 2 && path[0] == u'\\' && path[1] == u'\\' && path[2] != u'\\' && path[2] != u'?' &&
           path[2] != u'.';
}

std::u16string PathFromWideRead(std::u16string_view read)
{
    const std::size_t end = read.find(u'\0');
    if (end == std::u16string_view::npos) return {};
    return LocalOrNothing(std::u16string(read.substr(0, end)));
}

std::u16string PathFromAnsiRead(std::string_view read, const CodePage& code_page)
{
    const std::size_t end = read.find('\0');
    if (end == std::string_view::npos) return {};
    return LocalOrNothing(code_page.ToText(read.substr(0, end)));
}

std::u16string PathFromUtf8Reply(std::string_view bytes)
{
    if (!bytes.empty() && bytes.back() == '\0') bytes.remove_suffix(1);
    std::optional<std::u16string> path = FromUtf8(bytes);
    return path ? LocalOrNothing(std::move(*path)) : std::u16string();
}

std::optional<AimpTexts> AimpMapTexts(std::span<const unsigned char> map)
{
    if (map.size() < kAimpHeaderSize) return std::nullopt;
    std::array<std::uint32_t, kAimpTextCount> lengths{};
    std::memcpy(lengths.data(), map.data() + kAimpLengthsAt, sizeof lengths);
    AimpTexts texts;
    std::u16string* const fields[kAimpTextCount] = {&texts.album,     &texts.artist, &texts.date,
                                                    &texts.file_name, &texts.genre,  &texts.title};
    std::size_t at = kAimpHeaderSize;
    for (std::size_t i = 0; i < kAimpTextCount; ++i) {
        if (lengths[i] > (map.size() - at) / sizeof(char16_t)) return std::nullopt;
        fields[i]->resize(lengths[i]);
        std::memcpy(fields[i]->data(), map.data() + at, lengths[i] * sizeof(char16_t));
        at += lengths[i] * sizeof(char16_t);
    }
    return texts;
}

} // namespace morvane::win32players
