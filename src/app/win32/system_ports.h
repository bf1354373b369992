#pragma once

#include <array>
#include <bitset>
#include <vector>

#include "text/code_page.h"
#include "app/keys/key_map.h"
#include "app/ports/files.h"
#include "app/ports/hot_keys.h"

namespace morvane::win32 {

// The hot keys of `map`, sampled system-wide through GetAsyncKeyState: a key
// acts when it is down at the tick and went down since the previous one.
// Written keys also want their modifiers (keys::Acts) at that moment.
class AsyncKeyboard final : public HotKeys {
public:
    explicit AsyncKeyboard(const keys::KeyMap& map = {});
    bool Pressed(HotKey action) override;
    bool InputSinceLastCheck() override;

private:
    const std::vector<int>& Codes(HotKey action) const;
    short Sample(int code);
    keys::Modifiers Held(HotKey action);

    keys::KeyMap map_;
    std::array<std::vector<int>, kAllHotKeys.size()> codes_;
    std::bitset<256> pressed_unasked_;  // virtual-key codes fit in a byte
    std::bitset<256> action_codes_;     // the codes some action is asked by
    unsigned long last_input_ = 0;  // the system's tick count of the last input seen
    bool input_settled_ = false;    // no later input can carry last_input_'s count
};

// The system's ANSI code page (CP_ACP).
class AnsiCodePage final : public CodePage {
public:
    std::u16string ToText(std::string_view ansi) const override;
    std::optional<std::string> ToAnsi(std::u16string_view text) const override;
};

// Files on disk, through the W functions.
class DiskFiles final : public Files {
public:
    ReadResult ReadAll(const std::u16string& path, std::size_t max_bytes) override;
    bool Exists(const std::u16string& path) override;
    bool ReadOnly(const std::u16string& path) override;
    std::optional<FileError> WriteReplacing(const std::u16string& path, const std::string& bytes) override;
    bool MakeFolder(const std::u16string& path) override;
};

} // namespace morvane::win32
