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

// Where Morvane keeps what it writes by itself (the marks of recordings whose
// folder cannot be written, the list 退出 left): %APPDATA%\Morvane\, never
// the program's folder, so that it outlives a program folder deleted or
// replaced by a newer version. Empty when it cannot be named.
std::u16string UserDataFolder();

} // namespace morvane::win32
