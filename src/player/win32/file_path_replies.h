#pragma once

// Portable: the path of the file being played as each Windows player hands
// it out. The bytes come from another process, so every reading is bounded
// by what was read and trusts no length or terminator. No platform header.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "text/code_page.h"

namespace morvane::win32players {

// A path Morvane can open: a drive ("D:\") or a share ("\\server\"). A URL,
// a stream or a bare name is none; nor is a path with a NUL in it.
bool IsLocalPath(std::u16string_view path);

// Winamp's IPC_GETPLAYLISTFILEW: UTF-16 read from the player's memory. The
// path ends at the first NUL; without one in what was read there is none.
std::u16string PathFromWideRead(std::u16string_view read);
// IPC_GETPLAYLISTFILE, an older Winamp's: the same in the ANSI code page.
std::u16string PathFromAnsiRead(std::string_view read, const CodePage& code_page);

// PotPlayer's WM_COPYDATA answer to POT_GET_PLAYFILE_NAME: cbData bytes of
// UTF-8, with or without a closing NUL. Empty for bytes that are not UTF-8.
std::u16string PathFromUtf8Reply(std::string_view bytes);

// AIMP's TAIMPRemoteFileInfo: a packed 88-byte header whose counts give the
// length of each text that follows it, as UTF-16 without terminators.
struct AimpTexts {
    std::u16string album, artist, date, file_name, genre, title;
};
inline constexpr std::size_t kAimpMapSize = 2048;  // AIMPRemoteAccessMapFileSize
// nullopt for a map shorter than the header or whose counts run past its end.
std::optional<AimpTexts> AimpMapTexts(std::span<const unsigned char> map);

} // namespace morvane::win32players
