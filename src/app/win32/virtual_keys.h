#pragma once

#include <span>
#include <vector>

#include "app/keys/key.h"

namespace morvane::win32 {

// The virtual-key codes that report a key as down: either one stands for it
// (VK_SHIFT, VK_LSHIFT and VK_RSHIFT for Shift). The keypad's digits and its
// decimal point answer with Num Lock on: with it off they report Insert, End,
// Delete and the rest, which the keys of those names report too.
std::vector<int> VirtualKeys(keys::Key key);

// The codes to sample for one modifier bit (kCtrl, kAlt, kShift, kSuper).
std::span<const int> ModifierVirtualKeys(keys::Modifiers bit);

} // namespace morvane::win32
