#include "app/win32/dpi.h"

namespace morvane::win32 {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using ParametersForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

// A user32 function that older Windows versions lack, or nullptr.
template <typename Function>
Function User32(const char* name)
{
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

} // namespace

UINT ScreenDpi()
{
    UINT dpi = 96;
    if (HDC screen = GetDC(nullptr)) {
        if (const int logical = GetDeviceCaps(screen, LOGPIXELSY); logical > 0) dpi = static_cast<UINT>(logical);
        ReleaseDC(nullptr, screen);
    }
    return dpi;
}

UINT DpiOf(HWND window)
{
    static const auto get_dpi = User32<GetDpiForWindowFn>("GetDpiForWindow");
    if (get_dpi != nullptr)
        if (const UINT dpi = get_dpi(window); dpi != 0) return dpi;
    return ScreenDpi();
}

bool AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD ex_style, UINT dpi)
{
    static const auto adjust = User32<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    if (adjust != nullptr) return adjust(&rect, style, FALSE, ex_style, dpi) != FALSE;
    return AdjustWindowRectEx(&rect, style, FALSE, ex_style) != FALSE;
}

bool MessageFont(LOGFONTW& font, UINT dpi)
{
    static const auto parameters = User32<ParametersForDpiFn>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (parameters != nullptr) {
        if (parameters(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi) == FALSE) return false;
        font = metrics.lfMessageFont;
        return true;
    }
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) == FALSE) return false;
    font = metrics.lfMessageFont;
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
    return true;
}

} // namespace morvane::win32
