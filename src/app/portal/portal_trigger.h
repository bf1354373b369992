#pragma once

#include <string>

#include "app/keys/key.h"

namespace morvane::portal {

// The chord in the desktop portal's trigger syntax ("CTRL+ALT+P", "F8",
// "KP_0"), for preferred_trigger. Empty for Shift or Ctrl on their own,
// which a desktop cannot grant as a shortcut.
std::string PortalTrigger(const keys::Chord& chord);

} // namespace morvane::portal
