#pragma once

#include <optional>
#include <string>

#include "app/ports/files.h"
#include "app/settings/setting_table.h"

namespace morvane::settings {

// The practice settings in use, and the settings.ini they came from: its
// path and its text as it stands, the user's own lines included, so that a
// change is written back over the user's file and nothing else of it changes.
class SettingsStore {
public:
    explicit SettingsStore(Files& files) : files_(files) {}

    // Takes the file's `text` (empty: the defaults); changes are written back
    // to `path`, or nowhere when it is empty. Returns the message naming the
    // file's faulty lines (UTF-8), empty when there are none.
    std::string Use(std::u16string path, std::string text);

    const Settings& Values() const { return values_; }
    const std::u16string& Path() const { return path_; }

    // Gives `setting` its new value and writes the file back. A value outside
    // the setting's range changes nothing. Why the file could not be
    // written, nullopt when it was (or there is none to write).
    std::optional<FileError> Change(Setting setting, Value value);

private:
    Files& files_;
    Settings values_;
    std::u16string path_;  // empty: nowhere to write
    std::string text_;
};

} // namespace morvane::settings
