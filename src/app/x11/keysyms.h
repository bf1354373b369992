#pragma once

#include <span>
#include <vector>

#include "app/keys/key.h"

namespace morvane::x11 {

// The keysyms that stand for a key: either one reports it (Shift_L and
// Shift_R for Shift; KP_0 and KP_Insert, with and without Num Lock).
std::vector<unsigned long> Keysyms(keys::Key key);

// The keysyms of one modifier bit (kCtrl, kAlt, kShift, kSuper).
std::span<const unsigned long> ModifierKeysyms(keys::Modifiers bit);

} // namespace morvane::x11
