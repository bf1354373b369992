#pragma once

#include "app/ports/files.h"

namespace morvane::qt {

// Files on disk. Reads refuse anything but a regular file; writes replace
// the target atomically.
class DiskFiles final : public Files {
public:
    ReadResult ReadAll(const std::u16string& path, std::size_t max_bytes) override;
    bool Exists(const std::u16string& path) override;
    bool ReadOnly(const std::u16string& path) override;
    std::optional<FileError> WriteReplacing(const std::u16string& path, const std::string& bytes) override;
    bool MakeFolder(const std::u16string& path) override;
};

// Where the user's files are: $XDG_CONFIG_HOME/morvane/ (by default
// ~/.config/morvane/).
std::u16string UserConfigFolder();
// Where Morvane keeps what it writes by itself (the marks of recordings whose
// folder cannot be written, the list 退出 left): $XDG_DATA_HOME/morvane/
// (by default ~/.local/share/morvane/).
std::u16string UserDataFolder();

} // namespace morvane::qt
