#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "app/win32/layout.h"

namespace morvane::win32 {

// The layout's fonts at one DPI. Owns the font handles.
class Font_Set {
public:
    // nullptr when a font cannot be made.
    static std::unique_ptr<Font_Set> Make(UINT dpi);

    ~Font_Set();
    Font_Set(const Font_Set&) = delete;
    Font_Set& operator=(const Font_Set&) = delete;

    // nullptr for Face::None: the control keeps the system's font.
    HFONT Get(Face face) const { return fonts_[static_cast<std::size_t>(face)]; }

private:
    Font_Set() = default;
    std::array<HFONT, 6> fonts_{};
};

} // namespace morvane::win32
