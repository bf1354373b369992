#include "app/win32/layout.h"

namespace morvane::win32 {

int To_Pixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

RECT Pixel_Rect(const Layout_Row& row, UINT dpi)
{
    // Edges are converted, not sizes, so neighbours stay flush at any DPI.
    const layout::Edges edges = layout::Window_Edges(row);
    return RECT{To_Pixels(edges.left, dpi), To_Pixels(edges.top, dpi), To_Pixels(edges.right, dpi),
                To_Pixels(edges.bottom, dpi)};
}

} // namespace morvane::win32
