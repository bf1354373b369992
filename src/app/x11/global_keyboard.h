#pragma once

#include <memory>
#include <string>

#include "app/keys/key_map.h"
#include "app/ports/hot_keys.h"

namespace morvane::x11 {

// The keyboard while any program has the focus, read from XInput2 raw key
// events on a connection of its own. No grab: every key still reaches the
// focused window.
struct GlobalKeyboard {
    std::unique_ptr<HotKeys> keyboard;
    std::string reason;  // why keyboard is null
};

// The keys of `map`. Null keyboard and a reason when there is no X display
// or no XInput2; the program then runs without global keys.
GlobalKeyboard OpenGlobalKeyboard(const keys::KeyMap& map = {});

} // namespace morvane::x11
