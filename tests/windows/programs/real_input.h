#pragma once

// Real mouse and keyboard input through SendInput, as a person's hands give
// it: through the system's input queue, setting the asynchronous key state.

#include <windows.h>

namespace morvane::e2e {

// Makes the window the foreground window, where keys go; true once it is.
bool ToForeground(HWND window);

// Waits out Wine's answer to a change of focus: it sets its modifier keys to
// the X server's state, which would release a Shift or Ctrl pressed meanwhile.
void LetInputSettle();

// The centre of the window's client area in screen coordinates.
POINT CentreOf(HWND window);

// Left button down and up in one batch: no repeat timer comes between them.
bool LeftClick(POINT screen);
bool RightClick(POINT screen);

// A left-button drag in steps of a few pixels; checks can run while it is down.
class Drag {
public:
    explicit Drag(POINT from);  // check Ok() before going on
    ~Drag() { Release(); }
    Drag(const Drag&) = delete;
    Drag& operator=(const Drag&) = delete;

    bool Ok() const { return down_; }
    bool MoveTo(POINT to);
    bool Release();

private:
    POINT at_;
    bool down_ = false;
};

// Wine serves GetAsyncKeyState from a copy up to 50 ms old: a shorter press
// could pass unseen by a program that polls the keyboard.
inline constexpr DWORD kKeyHoldMs = 150;

// One key going down or up; right Ctrl and the navigation keys carry the
// extended-key flag they have on a real keyboard.
bool SendKey(WORD virtual_key, bool up);
bool TapKey(WORD virtual_key, DWORD hold_ms = kKeyHoldMs);

// A key held down while something else happens.
class HeldKey {
public:
    explicit HeldKey(WORD key) : key_(key), down_(SendKey(key, false)) {}
    ~HeldKey() { if (down_) SendKey(key_, true); }
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;

    bool Ok() const { return down_; }

private:
    WORD key_;
    bool down_;
};

} // namespace morvane::e2e
