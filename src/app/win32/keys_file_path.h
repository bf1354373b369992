#pragma once

#include <string>

namespace morvane::win32 {

// keys.ini beside morvane.exe, as portable tools keep their settings, unless
// it is missing there and the folder cannot be written (Program Files): then
// %APPDATA%\Morvane\keys.ini. Empty when neither can be named.
std::wstring KeysFilePath();

} // namespace morvane::win32
