#include "message_box.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "screenshot.h"
#include "window_access.h"

namespace e2e {

namespace {

constexpr int text_id = 0xFFFF;
// The icon static: id 20 in Windows' message box, stc1 (1088) in Wine's.
constexpr int icon_ids[] = {20, 0x0440};

HWND icon_static(HWND box)
{
    for (const int id : icon_ids) {
        const HWND item = GetDlgItem(box, id);
        if (item != nullptr && (GetWindowLongW(item, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return item;
    }
    return nullptr;
}

// The icon drawn as the box draws it, on the dialog's face colour.
std::optional<Screen_pixels> render_icon(LPCWSTR which, int width, int height)
{
    const HICON icon = LoadIconW(nullptr, which);
    if (icon == nullptr)
        return std::nullopt;
    Screen_pixels pixels;
    pixels.width = width;
    pixels.height = height;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dc == nullptr || bitmap == nullptr) {
        if (bitmap != nullptr)
            DeleteObject(bitmap);
        if (dc != nullptr)
            DeleteDC(dc);
        return std::nullopt;
    }
    const HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_3DFACE));
    DrawIconEx(dc, 0, 0, icon, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0, nullptr,
               DI_NORMAL);
    GdiFlush();
    const auto* first = static_cast<const std::uint8_t*>(bits);
    pixels.bgr.assign(first, first + pixels.stride() * static_cast<std::size_t>(height));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

long difference(const Screen_pixels& a, const Screen_pixels& b)
{
    if (a.width != b.width || a.height != b.height)
        return LONG_MAX;
    long total = 0;
    for (std::size_t i = 0; i < a.bgr.size(); ++i)
        total += std::abs(static_cast<int>(a.bgr[i]) - static_cast<int>(b.bgr[i]));
    return total;
}

// Another process's icon handle cannot be drawn here, so the icon on the
// screen is compared with each standard icon drawn the same way.
Box_icon identify_icon(HWND item)
{
    RECT area{};
    GetWindowRect(item, &area);
    const auto shown = grab_screen(area);
    if (!shown)
        return Box_icon::unknown;
    const struct {
        LPCWSTR id;
        Box_icon icon;
    } candidates[] = {{IDI_INFORMATION, Box_icon::information},
                      {IDI_WARNING, Box_icon::warning},
                      {IDI_ERROR, Box_icon::error},
                      {IDI_QUESTION, Box_icon::question}};
    Box_icon best = Box_icon::unknown;
    long best_difference = LONG_MAX;
    for (const auto& candidate : candidates) {
        const auto drawn = render_icon(candidate.id, shown->width, shown->height);
        if (!drawn)
            continue;
        const long d = difference(*shown, *drawn);
        if (d < best_difference) {
            best_difference = d;
            best = candidate.icon;
        }
    }
    // An exact copy differs by nothing; allow a little for scaling.
    const long tolerance = static_cast<long>(shown->bgr.size()) * 8;
    return best_difference <= tolerance ? best : Box_icon::unknown;
}

}  // namespace

const char* icon_name(Box_icon icon)
{
    switch (icon) {
    case Box_icon::none: return "none";
    case Box_icon::information: return "information";
    case Box_icon::warning: return "warning";
    case Box_icon::error: return "error";
    case Box_icon::question: return "question";
    case Box_icon::unknown: break;
    }
    return "unknown";
}

std::optional<Message_box> read_message_box(HWND box)
{
    Message_box result;
    result.window = box;
    const auto title = text_of(box);
    const HWND text_item = GetDlgItem(box, text_id);
    const auto text = text_item ? text_of(text_item) : std::nullopt;
    if (!title || !text)
        return std::nullopt;
    result.title = *title;
    result.text = *text;
    if (const HWND item = icon_static(box))
        result.icon = identify_icon(item);
    for (const HWND child : children_of(box))
        if (class_of(child) == L"Button" && IsWindowVisible(child))
            ++result.buttons;
    return result;
}

bool press_ok(HWND box)
{
    HWND button = GetDlgItem(box, IDOK);
    if (button == nullptr)
        button = FindWindowExW(box, nullptr, L"Button", nullptr);
    return button != nullptr && post_click(button);
}

}  // namespace e2e
