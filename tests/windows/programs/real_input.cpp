#include "real_input.h"

#include <cstdlib>
#include <initializer_list>

#include "process.h"

namespace morvane::e2e {
namespace {

constexpr int kDragStepPx = 4;
constexpr DWORD kDragStepMs = 15;

// Absolute coordinates run from 0 to 65535 across the primary screen; the
// rounding up makes the system's rounding down land on the very pixel.
LONG Normalized(LONG pixel, int screen_size)
{
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + screen_size - 1) / screen_size);
}

// Every mouse event carries its own absolute place: under Wine a late motion
// event from the X server could otherwise move a button event elsewhere.
INPUT Mouse(DWORD buttons, POINT screen)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = buttons | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input.mi.dx = Normalized(screen.x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = Normalized(screen.y, GetSystemMetrics(SM_CYSCREEN));
    return input;
}

bool SendInputs(std::initializer_list<INPUT> inputs)
{
    return SendInput(static_cast<UINT>(inputs.size()), const_cast<INPUT*>(inputs.begin()), sizeof(INPUT)) == inputs.size();
}

// Moves the pointer; true once the system reports it there.
bool MoveMouse(POINT screen)
{
    return SendInputs({Mouse(0, screen)}) && PollUntil(
                                                  [&] {
                                                      POINT at{};
                                                      return GetCursorPos(&at) && at.x == screen.x && at.y == screen.y;
                                                  },
                                                  2000, 10);
}

} // namespace

bool ToForeground(HWND window)
{
    SetForegroundWindow(window);
    return PollUntil([&] { return GetForegroundWindow() == window; });
}

void LetInputSettle() { Sleep(400); }

POINT CentreOf(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    POINT point{client.right / 2, client.bottom / 2};
    ClientToScreen(window, &point);
    return point;
}

bool LeftClick(POINT screen)
{
    return MoveMouse(screen) && SendInputs({Mouse(MOUSEEVENTF_LEFTDOWN, screen), Mouse(MOUSEEVENTF_LEFTUP, screen)});
}

bool RightClick(POINT screen)
{
    return MoveMouse(screen) && SendInputs({Mouse(MOUSEEVENTF_RIGHTDOWN, screen), Mouse(MOUSEEVENTF_RIGHTUP, screen)});
}

Drag::Drag(POINT from) : at_(from) { down_ = MoveMouse(from) && SendInputs({Mouse(MOUSEEVENTF_LEFTDOWN, from)}); }

bool Drag::MoveTo(POINT to)
{
    // Small steps with a pause between them, as a hand moves: each is a move of its own.
    const auto step = [](LONG from, LONG goal) {
        return std::abs(goal - from) <= kDragStepPx ? goal : from + (goal > from ? kDragStepPx : -kDragStepPx);
    };
    while (down_ && (at_.x != to.x || at_.y != to.y)) {
        at_ = {step(at_.x, to.x), step(at_.y, to.y)};
        if (!SendInputs({Mouse(0, at_)})) return false;
        Sleep(kDragStepMs);
    }
    return down_ && MoveMouse(to);
}

bool Drag::Release()
{
    if (!down_) return true;
    down_ = false;
    return SendInputs({Mouse(MOUSEEVENTF_LEFTUP, at_)});
}

bool SendKey(WORD virtual_key, bool up)
{
    bool extended = false;
    for (const WORD key : {VK_RCONTROL, VK_RMENU, VK_INSERT, VK_DELETE, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_LEFT,
                           VK_RIGHT, VK_UP, VK_DOWN})
        extended |= key == virtual_key;
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtual_key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    return SendInputs({input});
}

bool TapKey(WORD virtual_key, DWORD hold_ms)
{
    if (!SendKey(virtual_key, false)) return false;
    Sleep(hold_ms);
    return SendKey(virtual_key, true);
}

} // namespace morvane::e2e
