#pragma once

#include <span>
#include <vector>

#include "app/keys/key.h"

namespace morvane::win32 {

// The virtual-key codes that report a key as down: either one stands for it
// (VK_SHIFT, VK_LSHIFT and VK_RSHIFT for Shift).
std::vector<int> VirtualKeys(keys::Key key);

// The codes to sample for one modifier bit (kCtrl, kAlt, kShift, kSuper).
std::span<const int> ModifierVirtualKeys(keys::Modifiers bit);

} // namespace morvane::win32
