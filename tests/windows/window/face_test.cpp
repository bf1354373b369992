// The window's face at 96 DPI: every control of the layout table drawn in
// its place with its kind and caption, and a picture of it while it plays.

#include <cstdlib>
#include <string>

#include "app/layout/layout.h"
#include "app/win32/control_ids.h"
#include "rig.h"

namespace morvane::test {
namespace {

using layout::Kind;

// At 96 DPI a pixel is 15 twips.
constexpr int kTwipsPerPixel = 15;

std::wstring ClassOf(HWND control)
{
    wchar_t name[32]{};
    GetClassNameW(control, name, 32);
    return name;
}

// Whether the Win32 control is the kind the table asks for.
bool IsKind(HWND control, Kind kind)
{
    const std::wstring cls = ClassOf(control);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const LONG type = style & BS_TYPEMASK;
    switch (kind) {
    case Kind::Frame: return cls == L"Button" && type == BS_GROUPBOX;
    case Kind::Button:
    case Kind::FlatButton:
        return cls == L"Button" && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW);
    case Kind::Toggle: return cls == L"Button" && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX);
    case Kind::Field: return cls == L"Edit";
    case Kind::ReadOut: return cls == L"Static" && (style & WS_BORDER) != 0;  // looks like a text box
    case Kind::Listing: return cls == L"ListBox";
    case Kind::Slider: return cls == L"ScrollBar" && (style & SBS_VERT) == 0;
    }
    return false;
}

bool HasCaption(Kind kind)
{
    return kind == Kind::Frame || kind == Kind::Button || kind == Kind::FlatButton || kind == Kind::Toggle;
}

class Face : public WindowRig {
protected:
    Face()
    {
        player.title = u"1. 英语听力 第一课 - Winamp";
        player.position = 83456;
    }
};

TEST_F(Face, EveryControlOfTheLayoutTableIsDrawnInItsPlace)
{
    RECT client{};
    GetClientRect(Main(), &client);
    EXPECT_EQ(client.right, layout::kClientWidthTwips / kTwipsPerPixel);
    EXPECT_EQ(client.bottom, layout::kClientHeightTwips / kTwipsPerPixel);
    EXPECT_EQ(GetWindowLongW(Main(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0) << "resizable";

    for (const layout::Row& row : layout::Rows()) {
        SCOPED_TRACE("control " + std::to_string(row.id));
        const HWND control = Control(row.id);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(IsWindowVisible(control));
        EXPECT_TRUE(IsKind(control, row.kind)) << "class " << ClassOf(control).size();
        if (HasCaption(row.kind)) {
            const std::u16string caption(row.caption);
            EXPECT_EQ(Text(control), std::wstring(caption.begin(), caption.end()));
        }
        RECT got{};
        GetWindowRect(control, &got);
        MapWindowPoints(nullptr, Main(), reinterpret_cast<POINT*>(&got), 2);
        const layout::Edges want = layout::WindowEdges(row);
        EXPECT_LE(std::abs(got.left - want.left / kTwipsPerPixel), 1) << got.left;
        EXPECT_LE(std::abs(got.top - want.top / kTwipsPerPixel), 1) << got.top;
        EXPECT_LE(std::abs(got.right - want.right / kTwipsPerPixel), 1) << got.right;
        EXPECT_LE(std::abs(got.bottom - want.bottom / kTwipsPerPixel), 1) << got.bottom;
    }

    EXPECT_EQ(GetFocus(), Control(IDC_CLEAR)) << "the first focus is on 清除";
    EXPECT_EQ(Text(IDC_COUNT_LINE), L"0");

    // A few ticks fill the read-outs from the playing player; then a picture.
    ExpectShows(Main(), L"1. 英语听力 第一课 - Winamp");
    Pump(300);
    EXPECT_TRUE(SaveWindowBmp(Main(), OutPath(L"morvane.bmp")));
}

} // namespace
} // namespace morvane::test
