#include "real_input.h"

#include <cstdlib>
#include <vector>

#include "harness.h"

namespace e2e {

namespace {

constexpr int drag_step_px = 4;
constexpr DWORD drag_step_ms = 15;
constexpr DWORD input_settle_ms = 400;

// Absolute coordinates run from 0 to 65535 across the primary screen; the
// rounding up makes the system's rounding down land on the very pixel.
LONG normalized(LONG pixel, int screen_size)
{
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + screen_size - 1) / screen_size);
}

// Every mouse event carries its own absolute place. A button event without
// one goes where the system last put the pointer, and under Wine a late
// motion event from the X server can still move it back there.
INPUT mouse_input(DWORD buttons, POINT screen)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = buttons | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input.mi.dx = normalized(screen.x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = normalized(screen.y, GetSystemMetrics(SM_CYSCREEN));
    return input;
}

bool send_inputs(std::vector<INPUT> inputs)
{
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool is_extended(WORD virtual_key)
{
    switch (virtual_key) {
        case VK_RCONTROL:
        case VK_RMENU:
        case VK_INSERT:
        case VK_DELETE:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool send_key(WORD virtual_key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtual_key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (is_extended(virtual_key) ? KEYEVENTF_EXTENDEDKEY : 0);
    return send_inputs({input});
}

bool to_foreground(HWND window)
{
    SetForegroundWindow(window);
    return poll_until([&] { return GetForegroundWindow() == window; });
}

void let_input_settle()
{
    Sleep(input_settle_ms);
}

POINT screen_point(HWND window, int x, int y)
{
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
}

bool move_mouse(POINT screen)
{
    if (!send_inputs({mouse_input(0, screen)}))
        return false;
    return poll_until(
        [&] {
            POINT at{};
            return GetCursorPos(&at) && at.x == screen.x && at.y == screen.y;
        },
        2000, 10);
}

bool left_click(POINT screen)
{
    return move_mouse(screen)
           && send_inputs({mouse_input(MOUSEEVENTF_LEFTDOWN, screen), mouse_input(MOUSEEVENTF_LEFTUP, screen)});
}

Drag::Drag(POINT from) : at_(from)
{
    down_ = move_mouse(from) && send_inputs({mouse_input(MOUSEEVENTF_LEFTDOWN, from)});
}

Drag::~Drag()
{
    release();
}

bool Drag::move_to(POINT to)
{
    if (!down_)
        return false;
    // Small steps with a pause between them, as a hand moves: each one is
    // seen as a move of its own.
    while (at_.x != to.x || at_.y != to.y) {
        const auto step = [](LONG from, LONG goal) {
            const LONG gap = goal - from;
            return std::abs(gap) <= drag_step_px ? goal : from + (gap > 0 ? drag_step_px : -drag_step_px);
        };
        at_ = {step(at_.x, to.x), step(at_.y, to.y)};
        if (!send_inputs({mouse_input(0, at_)}))
            return false;
        Sleep(drag_step_ms);
    }
    return move_mouse(to);
}

bool Drag::release()
{
    if (!down_)
        return true;
    down_ = false;
    return send_inputs({mouse_input(MOUSEEVENTF_LEFTUP, at_)});
}

bool tap_key(WORD virtual_key, DWORD hold_ms)
{
    if (!send_key(virtual_key, false))
        return false;
    Sleep(hold_ms);
    return send_key(virtual_key, true);
}

Held_key::Held_key(WORD virtual_key) : key_(virtual_key), down_(send_key(virtual_key, false)) {}

Held_key::~Held_key()
{
    if (down_)
        send_key(key_, true);
}

}  // namespace e2e
