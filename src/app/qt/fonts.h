#pragma once

#include <QFont>

#include "app/layout/layout.h"

namespace morvane::qt {

// The font a control of the layout is drawn in. None and WindowDefault give
// the application's font, set explicitly so that a control does not take
// its frame's font instead.
QFont FontFor(layout::Face face);

} // namespace morvane::qt
