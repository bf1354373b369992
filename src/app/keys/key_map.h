#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "app/keys/key.h"
#include "app/ports/hot_keys.h"

namespace morvane::keys {

// One action's key: none when switched off; `written` when it comes from the
// keys file, whose keys match their modifiers exactly.
struct Binding {
    std::optional<Chord> chord;
    bool written = false;
};

// The key of each action, in the order of kAllHotKeys.
class KeyMap {
public:
    // The built-in keys: P play, S stop, H pause, U previous, N next, Shift
    // repeat, Ctrl mark, comma back, full stop forward, keypad 0 record;
    // none for the practice actions (loop, marks, speed).
    KeyMap();

    const Binding& operator[](HotKey action) const { return bindings_[static_cast<std::size_t>(action)]; }
    Binding& operator[](HotKey action) { return bindings_[static_cast<std::size_t>(action)]; }

private:
    std::array<Binding, kAllHotKeys.size()> bindings_;
};

// The action's name in the keys file: "play", "record" …
std::string_view ActionId(HotKey action);

// Whether an action whose key is down acts while `held` modifiers are down.
// Built-in keys ignore modifiers, as they always have. A written key with
// modifiers wants exactly those; one without wants no Ctrl, Alt or Super, so
// another program's shortcut is not also ours. A modifier key's own bit is
// not counted against it.
bool Acts(const Binding& binding, Modifiers held);

// Whether one press can make both act: the same key, with modifiers that
// both accept (a built-in key accepts any; a plain written key takes Shift).
bool Collide(const Binding& a, const Binding& b);

} // namespace morvane::keys
