#pragma once

#include <memory>

#include "app/keys/key_map.h"
#include "app/ports/hot_keys.h"

namespace morvane::x11 {

// The keys of `map` while any program has the focus, read from XInput2 raw
// key events on a connection of its own. No grab: every key still reaches
// the focused window. Null when there is no X display or no XInput2.
std::unique_ptr<HotKeys> OpenGlobalKeyboard(const keys::KeyMap& map = {});

} // namespace morvane::x11
