#pragma once

#include <windows.h>

#include <span>

namespace morvane::win32 {

// The main window's fixed layout in twips (1440 to the inch).

constexpr int kClientWidthTwips = 6120;
constexpr int kClientHeightTwips = 4260;
// Where the client area's top-left corner first stands on the screen.
constexpr int kDesignLeftTwips = 1500;
constexpr int kDesignTopTwips = 2265;

// A ReadOut is a text box only the poll tick writes: it looks like the
// others but is a static control, since a read-only edit control costs
// several times more to rewrite on every tick (about 0.6 ms under Wine).
enum class Kind { Frame, Button, FlatButton, TextBox, ReadOut, ListBox, ScrollBar, CheckBox };
enum class Face { None, Common, CommonBold, List, SansSerif, WindowDefault };

struct Layout_Row {
    int id;
    Kind kind;
    int container;  // id of the frame it sits in, 0 for the window itself
    const wchar_t* caption;
    int left, top, width, height;  // twips; left and top from the container
    int tab_index;
    Face face;
};

// Every control, in reading order.
std::span<const Layout_Row> Controls();
// The same controls in tab order, the order they are created in.
std::span<const Layout_Row* const> Controls_In_Tab_Order();

// twips -> pixels at `dpi`.
int To_Pixels(int twips, UINT dpi);
// The control's rectangle in the window's client area, in pixels.
RECT Pixel_Rect(const Layout_Row& row, UINT dpi);

} // namespace morvane::win32
