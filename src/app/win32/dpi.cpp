#include "app/win32/dpi.h"

namespace morvane::win32 {
namespace {

using Get_Dpi_For_Window = UINT(WINAPI*)(HWND);
using Adjust_For_Dpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using Parameters_For_Dpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

// A user32 function that older Windows versions lack, or nullptr.
template <typename Function>
Function User32(const char* name)
{
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

} // namespace

UINT Screen_Dpi()
{
    UINT dpi = 96;
    if (HDC screen = GetDC(nullptr)) {
        if (const int logical = GetDeviceCaps(screen, LOGPIXELSY); logical > 0) dpi = static_cast<UINT>(logical);
        ReleaseDC(nullptr, screen);
    }
    return dpi;
}

UINT Dpi_Of(HWND window)
{
    static const auto get_dpi = User32<Get_Dpi_For_Window>("GetDpiForWindow");
    if (get_dpi != nullptr)
        if (const UINT dpi = get_dpi(window); dpi != 0) return dpi;
    return Screen_Dpi();
}

bool Adjust_Window_Rect(RECT& rect, DWORD style, DWORD ex_style, UINT dpi)
{
    static const auto adjust = User32<Adjust_For_Dpi>("AdjustWindowRectExForDpi");
    if (adjust != nullptr) return adjust(&rect, style, FALSE, ex_style, dpi) != FALSE;
    return AdjustWindowRectEx(&rect, style, FALSE, ex_style) != FALSE;
}

bool Message_Font(LOGFONTW& font, UINT dpi)
{
    static const auto parameters = User32<Parameters_For_Dpi>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (parameters != nullptr) {
        if (parameters(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi) == FALSE) return false;
        font = metrics.lfMessageFont;
        return true;
    }
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) == FALSE) return false;
    font = metrics.lfMessageFont;
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(Screen_Dpi()));
    return true;
}

} // namespace morvane::win32
