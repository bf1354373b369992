#pragma once

#include <span>

namespace morvane::layout {

// The main window's fixed layout in twips (1440 to the inch), read by both
// front ends.

inline constexpr int kClientWidthTwips = 6120;
inline constexpr int kClientHeightTwips = 4260;
// The form's name on the design it was drawn from; the core calls it MainForm.
inline constexpr const char* kFormDesignerName = "Form1";
// Where the client area's top-left corner first stands on the screen.
inline constexpr int kDesignLeftTwips = 1500;
inline constexpr int kDesignTopTwips = 2265;

// The seek bar spans 0..kSeekBarEnd seconds: a 16-bit control reaches no further.
inline constexpr int kSeekBarEnd = 32767;

// The text boxes' background, fixed so a dark theme cannot put light text on it.
struct Colour {
    int red, green, blue;
};
inline constexpr Colour kTextBoxColour{192, 255, 255};

// A ReadOut is a text box only the poll tick writes: it looks like the
// others, but a front end may draw it with a cheaper control, since it is
// rewritten up to a hundred times a second.
// Field is a text box, Listing the list, Slider a scroll bar, Toggle a check box.
enum class Kind { Frame, Button, FlatButton, Field, ReadOut, Listing, Slider, Toggle };
enum class Face { None, Common, CommonBold, List, SansSerif, WindowDefault };

struct Row {
    int id;
    Kind kind;
    int container;  // id of the frame it sits in, 0 for the window itself
    const char16_t* caption;
    int left, top, width, height;  // twips; left and top from the container
    int tab_index;
    Face face;
    // The control's name on the form this window was drawn from, so that a
    // reader holding that form finds the control in one step.
    const char* designer_name;
};

// Edges in twips from the client area's top-left corner.
struct Edges {
    int left, top, right, bottom;
};

// Whether a control of this kind is drawn on kTextBoxColour: the text boxes
// and the read-outs.
// Whether the transport buttons' frame names the player in use
// ("PotPlayer控制区"): the Windows program drives its players by name, the
// Linux one every MPRIS player under one caption.
#ifdef _WIN32
inline constexpr bool kFrameNamesPlayer = true;
#else
inline constexpr bool kFrameNamesPlayer = false;
#endif

bool OnTextBoxColour(Kind kind);

// Every control, in reading order.
std::span<const Row> Rows();
// The same controls in tab order, the order they are created in.
std::span<const Row* const> RowsInTabOrder();
// The row of control `id`, nullptr when there is none.
const Row* Find(int id);
// The control's edges in the window's client area.
Edges WindowEdges(const Row& row);

} // namespace morvane::layout
