#pragma once

#include <bitset>
#include <cstddef>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "app/keys/key_map.h"
#include "app/ports/hot_keys.h"

namespace morvane::x11 {

// One key an action answers to, by the X keycodes that stand for it; an
// action may answer to several (generic Shift, left Shift, right Shift).
using KeyCodes = std::vector<int>;
using KeyTable = std::map<HotKey, std::vector<KeyCodes>>;
// The keycodes of each modifier bit (keys::kCtrl …), to tell which are held.
using ModifierCodes = std::map<keys::Modifiers, KeyCodes>;

// Which actions were pressed, worked out from raw key presses
// and releases by X keycode. Free of X so that it tests without a display.
// `map` says which keys must match their modifiers (keys::Acts): a press
// counts when its modifiers fit as the key goes down.
class KeyStates {
public:
    explicit KeyStates(KeyTable table = {}, keys::KeyMap map = {}, ModifierCodes modifiers = {});

    // After a keyboard mapping change. Keys already down stay down. Without
    // modifier keycodes no modifier is seen as held.
    void SetTable(KeyTable table, ModifierCodes modifiers = {});

    void Press(int keycode);
    void Release(int keycode);

    // true when one of the action's keys went from up to down since the
    // previous ask; the ask consumes it. A tap that ended before the ask
    // still answers, once.
    bool Pressed(HotKey action);

private:
    bool IsDown(const KeyCodes& key) const;
    bool IsKeycode(int keycode) const;
    keys::Modifiers Held() const;

    KeyTable table_;
    keys::KeyMap map_;
    ModifierCodes modifiers_;
    std::bitset<256> down_;  // X keycodes fit in a byte
    // Keys pressed and not yet asked about: the action, the key's place in its list.
    std::set<std::pair<HotKey, std::size_t>> pressed_since_;
};

} // namespace morvane::x11
