#pragma once

// Reading another process's scroll bar control: its range and value, and
// where its arrows, trough and thumb are on the screen.

#include <windows.h>

#include <optional>

namespace e2e {

struct Scroll_state {
    int min;
    int max;
    int pos;
};

std::optional<Scroll_state> scroll_state(HWND bar);

// Screen coordinates of a horizontal scroll bar's parts.
struct Scroll_parts {
    RECT bar;
    int arrow_width;
    int thumb_left;   // first pixel of the thumb
    int thumb_right;  // one past its last pixel

    int middle_y() const { return (bar.top + bar.bottom) / 2; }
    POINT left_arrow() const { return {bar.left + arrow_width / 2, middle_y()}; }
    POINT right_arrow() const { return {bar.right - 1 - arrow_width / 2, middle_y()}; }
    POINT thumb() const { return {(thumb_left + thumb_right) / 2, middle_y()}; }
    // Halfway between the thumb and the right arrow.
    POINT trough_right() const { return {(thumb_right + bar.right - arrow_width) / 2, middle_y()}; }
};

std::optional<Scroll_parts> scroll_parts(HWND bar);

}  // namespace e2e
