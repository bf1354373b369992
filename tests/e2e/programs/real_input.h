#pragma once

// Real mouse and keyboard input through SendInput, as a person's hands give
// it: through the system's input queue, setting the asynchronous key state.

#include <windows.h>

namespace morvane::e2e {

// Makes the window the foreground window, where keys go; true once it is.
bool To_Foreground(HWND window);

// Waits out Wine's answer to a change of focus: it sets its modifier keys to
// the X server's state, which would release a Shift or Ctrl pressed meanwhile.
void Let_Input_Settle();

// The centre of the window's client area in screen coordinates.
POINT Centre_Of(HWND window);

// Left button down and up in one batch: no repeat timer comes between them.
bool Left_Click(POINT screen);

// A left-button drag in steps of a few pixels; checks can run while it is down.
class Drag {
public:
    explicit Drag(POINT from);  // check Ok() before going on
    ~Drag() { Release(); }
    Drag(const Drag&) = delete;
    Drag& operator=(const Drag&) = delete;

    bool Ok() const { return down_; }
    bool Move_To(POINT to);
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
bool Send_Key(WORD virtual_key, bool up);
bool Tap_Key(WORD virtual_key, DWORD hold_ms = kKeyHoldMs);

// A key held down while something else happens.
class Held_Key {
public:
    explicit Held_Key(WORD key) : key_(key), down_(Send_Key(key, false)) {}
    ~Held_Key() { if (down_) Send_Key(key_, true); }
    Held_Key(const Held_Key&) = delete;
    Held_Key& operator=(const Held_Key&) = delete;

    bool Ok() const { return down_; }

private:
    WORD key_;
    bool down_;
};

} // namespace morvane::e2e
