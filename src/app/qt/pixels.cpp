#include "app/qt/pixels.h"

#include <cmath>

namespace morvane::qt {

int ToPixels(int twips, double dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }

QRect PixelRect(const layout::Row& row, double dpi)
{
    const layout::Edges edges = layout::WindowEdges(row);
    QRect rect(QPoint(ToPixels(edges.left, dpi), ToPixels(edges.top, dpi)),
               QPoint(ToPixels(edges.right, dpi) - 1, ToPixels(edges.bottom, dpi) - 1));
    if (const layout::Row* frame = row.container != 0 ? layout::Find(row.container) : nullptr)
        rect.translate(-PixelRect(*frame, dpi).topLeft());
    return rect;
}

} // namespace morvane::qt
