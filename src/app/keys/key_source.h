#pragma once

#include <string_view>

namespace morvane::keys {

enum class KeySource { XInput2, Portal };

// Where the Linux program reads its global keys from. XInput2 needs Qt on
// X (platform "xcb") in an X session: in a Wayland session (XDG_SESSION_TYPE
// "wayland") an X client runs on XWayland and would see only X programs'
// keys, so the desktop's portal serves there whatever Qt's platform is, and
// whenever the user chose it.
KeySource ChooseKeySource(std::string_view qt_platform, std::string_view session_type, bool portal_chosen);

} // namespace morvane::keys
