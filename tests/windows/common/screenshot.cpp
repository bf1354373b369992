#include "screenshot.h"

#include <filesystem>
#include <fstream>

namespace morvane::e2e {

bool SaveWindowBmp(HWND window, const std::wstring& path)
{
    RECT area{};
    if (!GetWindowRect(window, &area)) return false;
    // 24-bit, top-down, rows padded to 4 bytes.
    BITMAPINFOHEADER header{sizeof header, area.right - area.left, area.top - area.bottom, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    header.biSizeImage = ((static_cast<DWORD>(header.biWidth) * 3 + 3) & ~3u) * static_cast<DWORD>(-header.biHeight);
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof header;
    const BITMAPFILEHEADER file_header{0x4D42, offset + header.biSizeImage, 0, 0, offset};  // "BM"

    const HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    bool saved = bitmap != nullptr &&
                 BitBlt(memory, 0, 0, header.biWidth, -header.biHeight, screen, area.left, area.top, SRCCOPY | CAPTUREBLT);
    if (saved && GdiFlush()) {
        std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(&file_header), sizeof file_header);
        file.write(reinterpret_cast<const char*>(&header), sizeof header);
        file.write(static_cast<const char*>(bits), header.biSizeImage);
        file.close();
        saved = !file.fail();
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

} // namespace morvane::e2e
