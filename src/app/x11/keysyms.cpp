#include "app/x11/keysyms.h"

#include <X11/keysym.h>

#include <array>

namespace morvane::x11 {
namespace {

constexpr std::array<unsigned long, 2> kShiftKeysyms{XK_Shift_L, XK_Shift_R};
constexpr std::array<unsigned long, 2> kCtrlKeysyms{XK_Control_L, XK_Control_R};
constexpr std::array<unsigned long, 4> kAltKeysyms{XK_Alt_L, XK_Alt_R, XK_Meta_L, XK_Meta_R};
constexpr std::array<unsigned long, 2> kSuperKeysyms{XK_Super_L, XK_Super_R};

// The keypad with Num Lock off reports the second keysym.
constexpr std::array<std::array<unsigned long, 2>, 10> kKeypadDigits{{
    {XK_KP_0, XK_KP_Insert}, {XK_KP_1, XK_KP_End},  {XK_KP_2, XK_KP_Down},  {XK_KP_3, XK_KP_Page_Down},
    {XK_KP_4, XK_KP_Left},   {XK_KP_5, XK_KP_Begin}, {XK_KP_6, XK_KP_Right}, {XK_KP_7, XK_KP_Home},
    {XK_KP_8, XK_KP_Up},     {XK_KP_9, XK_KP_Page_Up},
}};
constexpr std::array<std::array<unsigned long, 2>, 5> kKeypadOperators{{
    {XK_KP_Add, XK_KP_Add}, {XK_KP_Subtract, XK_KP_Subtract}, {XK_KP_Multiply, XK_KP_Multiply},
    {XK_KP_Divide, XK_KP_Divide}, {XK_KP_Decimal, XK_KP_Delete},
}};

} // namespace

std::vector<unsigned long> Keysyms(keys::Key key)
{
    using keys::KeyKind;
    const unsigned long index = key.index;
    switch (key.kind) {
    case KeyKind::Letter: return {XK_a + index};
    case KeyKind::Digit: return {XK_0 + index};
    case KeyKind::Function: return {XK_F1 + index};
    case KeyKind::Keypad: return {kKeypadDigits.at(index).begin(), kKeypadDigits.at(index).end()};
    case KeyKind::KeypadOperator: return {kKeypadOperators.at(index).begin(), kKeypadOperators.at(index).end()};
    case KeyKind::Comma: return {XK_comma};
    case KeyKind::FullStop: return {XK_period};
    case KeyKind::Shift: return {kShiftKeysyms.begin(), kShiftKeysyms.end()};
    case KeyKind::Ctrl: return {kCtrlKeysyms.begin(), kCtrlKeysyms.end()};
    }
    return {};
}

std::span<const unsigned long> ModifierKeysyms(keys::Modifiers bit)
{
    switch (bit) {
    case keys::kCtrl: return kCtrlKeysyms;
    case keys::kAlt: return kAltKeysyms;
    case keys::kShift: return kShiftKeysyms;
    case keys::kSuper: return kSuperKeysyms;
    default: return {};
    }
}

} // namespace morvane::x11
