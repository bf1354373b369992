#pragma once

#include <QRect>

#include "app/layout/layout.h"

namespace morvane::qt {

// twips -> pixels at `dpi` (logical dots per inch), rounded to nearest.
int ToPixels(int twips, double dpi);

// The control's rectangle in pixels, relative to what it sits in: the
// window's client area, or its frame. Edges are converted, not sizes, so
// neighbours stay flush at any DPI.
QRect PixelRect(const layout::Row& row, double dpi);

} // namespace morvane::qt
