#include "app/layout/layout.h"

#include <algorithm>
#include <array>

#include "app/layout/control_ids.h"

namespace morvane::layout {
namespace {

using enum Kind;
using enum Face;

// The frame of the transport buttons names the player the build drives.
#ifdef _WIN32
constexpr const char16_t* kPlayerFrame = u"Winamp控制区";
#else
constexpr const char16_t* kPlayerFrame = u"播放器控制区";
#endif

constexpr std::array<Row, 33> kControls{{
    // id               kind        container         caption           left  top   width height tab face           designer
    {IDC_MARKS_FRAME,    Frame,      0,                u"",              120,  0,    5895, 2055,  0,  None,          "Frame1"},
    {IDC_MARK_LIST,      Listing,    IDC_MARKS_FRAME,  u"",              120,  240,  4260, 1680,  8,  List,          "List1"},
    {IDC_DELETE,         Button,     IDC_MARKS_FRAME,  u"删除",          4440, 240,  615,  255,   11, Common,        "Command3"},
    {IDC_EDIT_NOTE,      Button,     IDC_MARKS_FRAME,  u"修改",          4440, 600,  615,  270,   7,  Common,        "Command9"},
    {IDC_MOVE_UP,        Button,     IDC_MARKS_FRAME,  u"↑",             4440, 960,  615,  255,   10, CommonBold,    "C_up"},
    {IDC_MOVE_DOWN,      Button,     IDC_MARKS_FRAME,  u"↓",             4440, 1320, 615,  255,   9,  CommonBold,    "C_down"},
    {IDC_COUNT_LINE,     Field,    IDC_MARKS_FRAME,  u"",              4440, 1680, 615,  270,   6,  WindowDefault, "Text1"},
    {IDC_CLEAR,          Button,     IDC_MARKS_FRAME,  u"清除",          5160, 240,  615,  255,   1,  Common,        "C_clear"},
    {IDC_SORT,           Button,     IDC_MARKS_FRAME,  u"排序",          5160, 600,  615,  255,   2,  Common,        "C_sort"},
    {IDC_LOAD,           Button,     IDC_MARKS_FRAME,  u"读取",          5160, 960,  615,  255,   4,  Common,        "C_Load"},
    {IDC_SAVE,           Button,     IDC_MARKS_FRAME,  u"保存",          5160, 1320, 615,  255,   3,  Common,        "C_Save"},
    {IDC_END,            Button,     IDC_MARKS_FRAME,  u"退出",          5160, 1680, 615,  255,   5,  Common,        "C_end"},
    {IDC_STATE_LINE,     ReadOut,    0,                u"",              120,  2160, 2295, 255,   12, Common,        "Text2"},
    {IDC_TIME_LINE,      ReadOut,    0,                u"",              2520, 2160, 3495, 255,   13, Common,        "Text3"},
    {IDC_PLAYER_FRAME,   Frame,      0,                kPlayerFrame,     120,  2520, 3225, 600,   14, Common,        "Frame2"},
    {IDC_PREVIOUS,       FlatButton, IDC_PLAYER_FRAME, u"前首",          120,  240,  555,  255,   19, Common,        "C_Pre"},
    {IDC_PLAY,           FlatButton, IDC_PLAYER_FRAME, u"播放",          720,  240,  555,  255,   15, Common,        "C_Play"},
    {IDC_PAUSE,          FlatButton, IDC_PLAYER_FRAME, u"暂停",          1320, 240,  555,  255,   18, Common,        "C_pause"},
    {IDC_STOP,           FlatButton, IDC_PLAYER_FRAME, u"停止",          1920, 240,  540,  255,   17, Common,        "C_stop"},
    {IDC_NEXT,           FlatButton, IDC_PLAYER_FRAME, u"下首",          2520, 240,  570,  255,   16, Common,        "C_next"},
    {IDC_REPEAT_FRAME,   Frame,      0,                u"精确复读区",    120,  3240, 3255, 975,   20, Common,        "Frame3"},
    {IDC_BACK,           Button,     IDC_REPEAT_FRAME, u"快退",          120,  240,  615,  255,   22, Common,        "Command1"},
    {IDC_FORWARD,        Button,     IDC_REPEAT_FRAME, u"快进",          780,  240,  615,  255,   23, Common,        "Command2"},
    {IDC_MARK,           Button,     IDC_REPEAT_FRAME, u"定位",          1800, 240,  615,  255,   24, Common,        "Command4"},
    {IDC_REPEAT,         Button,     IDC_REPEAT_FRAME, u"复读",          2520, 240,  615,  255,   25, Common,        "Command5"},
    {IDC_MARK_LINE,      ReadOut,    IDC_REPEAT_FRAME, u"",              120,  600,  3015, 255,   21, Common,        "Text4"},
    {IDC_RECORD_FRAME,   Frame,      0,                u"精确记录区",    3480, 2520, 2535, 1695,  26, Common,        "Frame4"},
    {IDC_SEEK_BAR,       Slider,  IDC_RECORD_FRAME, u"",              120,  240,  2295, 255,   32, None,          "h1"},
    {IDC_SEEK_TIME,      Field,    IDC_RECORD_FRAME, u"",              120,  600,  1695, 255,   31, Common,        "Text5"},
    {IDC_JUMP,           Button,     IDC_RECORD_FRAME, u"Jump",          1920, 600,  495,  255,   30, WindowDefault, "Command6"},
    {IDC_RECORD,         Button,     IDC_RECORD_FRAME, u"记录",          120,  960,  615,  615,   29, SansSerif,     "Command7"},
    {IDC_ASK_NOTE,       Toggle,   IDC_RECORD_FRAME, u"记录时填写注释", 840,  960,  1575, 300,   27, Common,        "c1"},
    {IDC_PAUSE_FOR_NOTE, Toggle,   IDC_RECORD_FRAME, u"记录时暂停播放", 840,  1200, 1575, 375,   28, Common,        "c2"},
}};

} // namespace

std::span<const Row> Rows() { return kControls; }

std::span<const Row* const> RowsInTabOrder()
{
    static const auto ordered = [] {
        std::array<const Row*, kControls.size()> out{};
        for (std::size_t i = 0; i < kControls.size(); ++i) out[i] = &kControls[i];
        std::ranges::sort(out, {}, &Row::tab_index);
        return out;
    }();
    return ordered;
}

bool OnTextBoxColour(Kind kind) { return kind == Kind::Field || kind == Kind::ReadOut; }

const Row* Find(int id)
{
    const auto row = std::ranges::find(kControls, id, &Row::id);
    return row != kControls.end() ? &*row : nullptr;
}

Edges WindowEdges(const Row& row)
{
    int left = row.left;
    int top = row.top;
    if (const Row* frame = row.container != 0 ? Find(row.container) : nullptr) {
        left += frame->left;
        top += frame->top;
    }
    return Edges{left, top, left + row.width, top + row.height};
}

} // namespace morvane::layout
