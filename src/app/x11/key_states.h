#pragma once

#include <bitset>
#include <cstdint>
#include <map>
#include <set>
#include <vector>

namespace morvane::x11 {

// The X keycodes that stand for each Windows virtual-key code.
using KeyTable = std::map<int, std::vector<int>>;

// GetAsyncKeyState's two bits per virtual-key code, worked out from raw key
// presses and releases by X keycode. Free of X so that it tests without a
// display.
class KeyStates {
public:
    explicit KeyStates(KeyTable table = {});

    // After a keyboard mapping change. Keys already down stay down.
    void SetTable(KeyTable table);

    void Press(int keycode);
    void Release(int keycode);

    // Bit 15 while the key is down, bit 0 when it was pressed since the
    // previous query of this code; the query consumes bit 0. A tap that
    // ended before this code was asked still answers both bits, once.
    std::int16_t Query(int virtual_key);

private:
    bool IsDown(int virtual_key) const;
    bool IsKeycode(int keycode) const;

    KeyTable table_;
    std::bitset<256> down_;  // X keycodes fit in a byte
    std::set<int> pressed_since_;
};

} // namespace morvane::x11
