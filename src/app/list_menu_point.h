#pragma once

#include <optional>

namespace morvane {

// A rectangle in the list's own pixels; right and bottom lie just outside.
struct ListRect {
    int left, top, right, bottom;
};
struct ListPoint {
    int x, y;
};

// Where the list's context menu appears when the keyboard opens it (the
// menu key, Shift+F10): below the highlighted entry while some of it is in
// view, kept inside the list; at the list's top left otherwise. `entry` is
// the highlighted entry's rectangle, nullopt when none is highlighted.
ListPoint KeyboardMenuPoint(std::optional<ListRect> entry, ListRect view);

} // namespace morvane
