#include "app/win32/virtual_keys.h"

#include <windows.h>

#include <array>

namespace morvane::win32 {
namespace {

constexpr std::array<int, 3> kShiftKeys{VK_SHIFT, VK_LSHIFT, VK_RSHIFT};
constexpr std::array<int, 3> kCtrlKeys{VK_CONTROL, VK_LCONTROL, VK_RCONTROL};
constexpr std::array<int, 3> kAltKeys{VK_MENU, VK_LMENU, VK_RMENU};
constexpr std::array<int, 2> kSuperKeys{VK_LWIN, VK_RWIN};
constexpr std::array<int, 5> kKeypadOperators{VK_ADD, VK_SUBTRACT, VK_MULTIPLY, VK_DIVIDE, VK_DECIMAL};

} // namespace

std::vector<int> VirtualKeys(keys::Key key)
{
    using keys::KeyKind;
    const int index = key.index;
    switch (key.kind) {
    case KeyKind::Letter: return {'A' + index};
    case KeyKind::Digit: return {'0' + index};
    case KeyKind::Function: return {VK_F1 + index};
    case KeyKind::Keypad: return {VK_NUMPAD0 + index};
    case KeyKind::KeypadOperator: return {kKeypadOperators.at(index)};
    case KeyKind::Comma: return {VK_OEM_COMMA};
    case KeyKind::FullStop: return {VK_OEM_PERIOD};
    case KeyKind::Shift: return {kShiftKeys.begin(), kShiftKeys.end()};
    case KeyKind::Ctrl: return {kCtrlKeys.begin(), kCtrlKeys.end()};
    }
    return {};
}

std::span<const int> ModifierVirtualKeys(keys::Modifiers bit)
{
    switch (bit) {
    case keys::kCtrl: return kCtrlKeys;
    case keys::kAlt: return kAltKeys;
    case keys::kShift: return kShiftKeys;
    case keys::kSuper: return kSuperKeys;
    default: return {};
    }
}

} // namespace morvane::win32
