#pragma once

#include <windows.h>

#include "app/layout/layout.h"

namespace morvane::win32 {

using layout::Controls;
using layout::Controls_In_Tab_Order;
using layout::Face;
using layout::Kind;
using layout::kClientHeightTwips;
using layout::kClientWidthTwips;
using layout::kDesignLeftTwips;
using layout::kDesignTopTwips;
using Layout_Row = layout::Row;

// twips -> pixels at `dpi`.
int To_Pixels(int twips, UINT dpi);
// The control's rectangle in the window's client area, in pixels.
RECT Pixel_Rect(const Layout_Row& row, UINT dpi);

} // namespace morvane::win32
