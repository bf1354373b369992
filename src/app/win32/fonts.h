#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "app/win32/layout.h"

namespace morvane::win32 {

// The layout's fonts at one DPI. Owns the font handles.
class FontSet {
public:
    // nullptr when a font cannot be made.
    static std::unique_ptr<FontSet> Make(UINT dpi);

    ~FontSet();
    FontSet(const FontSet&) = delete;
    FontSet& operator=(const FontSet&) = delete;

    // nullptr for Face::None: the control keeps the system's font.
    HFONT Get(Face face) const { return fonts_[static_cast<std::size_t>(face)]; }

private:
    FontSet() = default;
    std::array<HFONT, 6> fonts_{};
};

} // namespace morvane::win32
