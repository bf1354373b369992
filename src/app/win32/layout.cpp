#include "app/win32/layout.h"

namespace morvane::win32 {

int ToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

RECT PixelRect(const LayoutRow& row, UINT dpi)
{
    // Edges are converted, not sizes, so neighbours stay flush at any DPI.
    const layout::Edges edges = layout::WindowEdges(row);
    return RECT{ToPixels(edges.left, dpi), ToPixels(edges.top, dpi), ToPixels(edges.right, dpi),
                ToPixels(edges.bottom, dpi)};
}

} // namespace morvane::win32
