#pragma once

#include <string>
#include <string_view>

#include "app/keys/key_map.h"

namespace morvane::keys {

// What a keys file says: the map (built-in keys where it says nothing or
// errs), and, when some lines could not be used, one message naming each
// with its line number (UTF-8, for a message box). A line is not used when
// its key would also run another action, written or kept built in.
struct KeysFile {
    KeyMap map;
    std::string problems;
};

// Reads `action = key` lines; blank lines, lines starting with ';' or '#'
// and [section] headers are passed over. Text is UTF-8, CRLF or LF.
KeysFile ParseKeysFile(std::string_view text);

// The map in use, one action a line, and where it came from, for
// `morvane --keys`. `file_found` false: the file is missing and the map is
// the built-in one.
std::string KeyMapText(const KeyMap& map, std::string_view path, bool file_found);

} // namespace morvane::keys
