#include "screenshot.h"

namespace e2e {

COLORREF Screen_pixels::at(int x, int y) const
{
    const std::size_t i = static_cast<std::size_t>(y) * stride() + static_cast<std::size_t>(x) * 3;
    return RGB(bgr[i + 2], bgr[i + 1], bgr[i]);
}

std::optional<Screen_pixels> grab_screen(const RECT& area)
{
    Screen_pixels pixels;
    pixels.width = area.right - area.left;
    pixels.height = area.bottom - area.top;
    if (pixels.width <= 0 || pixels.height <= 0)
        return std::nullopt;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;

    const HDC screen = GetDC(nullptr);
    if (screen == nullptr)
        return std::nullopt;
    const HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (memory != nullptr && bitmap != nullptr) {
        const HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, pixels.width, pixels.height, screen, area.left, area.top,
                        SRCCOPY | CAPTUREBLT)
                 != FALSE;
        GdiFlush();
        SelectObject(memory, old);
        if (copied) {
            const auto* first = static_cast<const std::uint8_t*>(bits);
            pixels.bgr.assign(first, first + pixels.stride() * static_cast<std::size_t>(pixels.height));
        }
    }
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    if (memory != nullptr)
        DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!copied)
        return std::nullopt;
    return pixels;
}

bool save_window_bmp(HWND window, const std::wstring& path)
{
    RECT area{};
    if (!GetWindowRect(window, &area))
        return false;
    const auto pixels = grab_screen(area);
    if (!pixels)
        return false;

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = pixels->width;
    header.biHeight = -pixels->height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(pixels->bgr.size());

    BITMAPFILEHEADER file_header{};
    file_header.bfType = 0x4D42;  // "BM"
    file_header.bfOffBits = sizeof file_header + sizeof header;
    file_header.bfSize = file_header.bfOffBits + header.biSizeImage;

    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, &file_header, sizeof file_header, &written, nullptr)
              && written == sizeof file_header;
    ok = ok && WriteFile(file, &header, sizeof header, &written, nullptr) && written == sizeof header;
    ok = ok && WriteFile(file, pixels->bgr.data(), header.biSizeImage, &written, nullptr)
         && written == header.biSizeImage;
    ok = CloseHandle(file) && ok;
    return ok;
}

}  // namespace e2e
