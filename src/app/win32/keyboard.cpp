#include <windows.h>

#include <array>

#include "app/win32/system_ports.h"

namespace morvane::win32 {
namespace {

// The virtual-key codes of each action, in HotKey's order (0: an unused
// slot). Shift and Ctrl have a generic code and one per side; the generic
// codes never report "pressed since" under Wine.
constexpr std::array<std::array<int, 3>, kAllHotKeys.size()> kActionKeys{{
    {'U', 0, 0},                                       // Previous
    {'P', 0, 0},                                       // Play
    {'H', 0, 0},                                       // Pause
    {'S', 0, 0},                                       // Stop
    {'N', 0, 0},                                       // Next
    {VK_OEM_COMMA, 0, 0},                              // Back
    {VK_OEM_PERIOD, 0, 0},                             // Forward
    {VK_CONTROL, VK_LCONTROL, VK_RCONTROL},            // Mark
    {VK_SHIFT, VK_LSHIFT, VK_RSHIFT},                  // Repeat
    {VK_NUMPAD0, 0, 0},                                // Record
}};

// GetAsyncKeyState's answer for a key that is down now and was pressed since
// the previous query of its code.
constexpr SHORT kPressedNow = -32767;

const std::array<int, 3>& Codes(HotKey action) { return kActionKeys[static_cast<std::size_t>(action)]; }

} // namespace

bool Async_Keyboard::Pressed(HotKey action)
{
    // Every code is queried, so each has its "pressed since" bit consumed and
    // one press never acts twice.
    bool pressed = false;
    for (int code : Codes(action)) {
        if (code != 0 && GetAsyncKeyState(code) == kPressedNow) pressed = true;
    }
    return pressed;
}

bool Async_Keyboard::Down(HotKey action)
{
    for (int code : Codes(action)) {
        if (code != 0 && (static_cast<unsigned short>(GetAsyncKeyState(code)) & 0x8000) != 0) return true;
    }
    return false;
}

} // namespace morvane::win32
