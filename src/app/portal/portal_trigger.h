#pragma once

#include <string>

#include "app/keys/key.h"

namespace morvane::portal {

// The chord in the XDG shortcuts trigger syntax ("CTRL+ALT+p",
// "LOGO+F8", "KP_0": xkbcommon modifier and keysym names), for
// preferred_trigger. Empty for Shift or Ctrl on their own,
// which a desktop cannot grant as a shortcut.
std::string PortalTrigger(const keys::Chord& chord);

} // namespace morvane::portal
