#pragma once

#include <string>
#include <string_view>

#include "app/settings/setting_table.h"

namespace morvane::settings {

// What a settings file says: the settings (defaults where it says nothing
// or errs) and, when some lines could not be used, one message naming each
// with its line number (UTF-8, for a message box).
struct SettingsFile {
    Settings settings;
    std::string problems;
};

// Reads `name = value` lines as the keys file does: blank lines, comments
// (';', '#') and [section] headers are passed over; UTF-8, CRLF or LF.
SettingsFile ParseSettingsFile(std::string_view text);

// The value of `setting` in `settings` as the file writes it ("unlimited",
// "1.5"). A setting left to the player (speed) writes as empty text.
std::string ValueText(const Settings& settings, Setting setting);

// The file's text with `setting` given its value in `settings`: the first
// line that names it takes the new value, and every other line, comments
// and unknown ones included, stays as it was. With no such line, one is
// added at the end, in the file's own line ending.
std::string WithSetting(std::string_view text, const Settings& settings, Setting setting);

} // namespace morvane::settings
