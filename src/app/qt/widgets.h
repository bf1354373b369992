#pragma once

#include "app/layout/layout.h"

class QWidget;

namespace morvane::qt {

// Makes the widget for one control of the layout, with its caption, font
// and look, as a child of `parent`; placing it is the caller's job.
QWidget* MakeControl(const layout::Row& row, QWidget* parent);

} // namespace morvane::qt
