#pragma once

// Real mouse and keyboard input through SendInput, as a person's hands give
// it: it goes through the system's input queue, sets the asynchronous key
// state and reaches whatever window is under the pointer or has the focus.
// Every function releases what it pressed before it returns.

#include <windows.h>

namespace e2e {

// Makes the window the foreground window, where keys go; true once it is.
bool to_foreground(HWND window);

// Waits out Wine's answer to a change of focus or of the window under the
// pointer: it sets its modifier keys (Shift, Ctrl, Alt) to the X server's own
// state, which would release a Shift or Ctrl pressed here in the meantime.
// Nothing shows when that has happened; it comes within a few turns of the
// programs' message loops.
void let_input_settle();

// A point of the window's client area in screen coordinates.
POINT screen_point(HWND window, int x, int y);

// Moves the pointer with an absolute move; true once the system reports it there.
bool move_mouse(POINT screen);

// Left button down and up at the point, in one input batch so no other input
// and no repeat timer of the control can come between them.
bool left_click(POINT screen);

// A left-button drag: press at one point, move in steps of a few pixels,
// release. Checks can run while the button is still down.
class Drag {
public:
    // Moves to `from` and presses the button; check ok() before going on.
    explicit Drag(POINT from);
    ~Drag();  // releases the button if release() was not called
    Drag(const Drag&) = delete;
    Drag& operator=(const Drag&) = delete;

    bool ok() const { return down_; }
    bool move_to(POINT to);
    bool release();

private:
    POINT at_;
    bool down_ = false;
};

// How long a tap holds its key down. Wine serves GetAsyncKeyState from a
// copy of the key state up to 50 ms old, so a shorter press can come and go
// unseen by a program that polls the keyboard; a person's press is longer.
inline constexpr DWORD key_hold_ms = 150;

// One key going down or up. Right-hand Ctrl and the navigation keys get
// the extended-key flag they carry on a real keyboard.
bool send_key(WORD virtual_key, bool up);

// Key down, held for hold_ms, key up.
bool tap_key(WORD virtual_key, DWORD hold_ms = key_hold_ms);

// A key held down while something else happens; released when it goes.
class Held_key {
public:
    explicit Held_key(WORD virtual_key);
    ~Held_key();
    Held_key(const Held_key&) = delete;
    Held_key& operator=(const Held_key&) = delete;

    bool ok() const { return down_; }

private:
    WORD key_;
    bool down_;
};

}  // namespace e2e
