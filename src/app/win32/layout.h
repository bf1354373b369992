#pragma once

#include <windows.h>

#include "app/layout/layout.h"

namespace morvane::win32 {

using layout::Rows;
using layout::RowsInTabOrder;
using layout::Face;
using layout::Kind;
using layout::kClientHeightTwips;
using layout::kClientWidthTwips;
using layout::kDesignLeftTwips;
using layout::kDesignTopTwips;
using LayoutRow = layout::Row;

// twips -> pixels at `dpi`.
int ToPixels(int twips, UINT dpi);
// The control's rectangle in the window's client area, in pixels.
RECT PixelRect(const LayoutRow& row, UINT dpi);

} // namespace morvane::win32
