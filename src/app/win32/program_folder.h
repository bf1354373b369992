#pragma once

#include <string>

namespace morvane::win32 {

// The folder that holds morvane.exe, ending in its separator; empty when
// the system cannot name it.
std::wstring ProgramFolder();

// Where the user's files are: beside morvane.exe, as portable tools keep
// their settings, unless keys.ini is missing there and the folder cannot
// be written (Program Files): then %APPDATA%\Morvane\. Empty when neither
// can be named.
std::u16string UserConfigFolder();

} // namespace morvane::win32
