#pragma once

#include <string>

#include "app/keys/keys_file.h"

namespace morvane::win32 {

// keys.ini beside morvane.exe, as portable tools keep their settings, unless
// it is missing there and the folder cannot be written (Program Files): then
// %APPDATA%\Morvane\keys.ini. Empty when neither can be named.
std::wstring KeysFilePath();

// What the user's keys file says: the built-in keys when there is none, and
// in `problems` the lines that could not be used, or why the file could not
// be read, for one message at start-up.
keys::KeysFile ReadUserKeys();

// UTF-8 text (the keys file's messages) for the W functions.
std::wstring WideFromUtf8(const std::string& text);

} // namespace morvane::win32
