#pragma once

#include "text/code_page.h"
#include "app/ports/files.h"
#include "app/ports/hot_keys.h"

namespace morvane::win32 {

// The hot keys, sampled system-wide through GetAsyncKeyState.
class Async_Keyboard final : public HotKeys {
public:
    bool Pressed(HotKey action) override;
    bool Down(HotKey action) override;
};

// The system's ANSI code page (CP_ACP).
class Ansi_Code_Page final : public CodePage {
public:
    std::u16string ToText(std::string_view ansi) const override;
    std::optional<std::string> ToAnsi(std::u16string_view text) const override;
};

// Files on disk, through the W functions.
class Disk_Files final : public Files {
public:
    ReadResult ReadAll(const std::u16string& path, std::size_t max_bytes) override;
    bool Exists(const std::u16string& path) override;
    bool Read_Only(const std::u16string& path) override;
    std::u16string WriteReplacing(const std::u16string& path, const std::string& bytes) override;
};

} // namespace morvane::win32
