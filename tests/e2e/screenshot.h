#pragma once

// Pictures of what is on the screen, for people to look at and for pixel checks.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Top-down 24-bit pixels of a screen area, rows padded to 4 bytes.
struct Screen_pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgr;

    std::size_t stride() const { return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3}; }
    COLORREF at(int x, int y) const;
};

std::optional<Screen_pixels> grab_screen(const RECT& area);

// Saves the window's area of the screen as a 24-bit BMP file.
bool save_window_bmp(HWND window, const std::wstring& path);

}  // namespace e2e
