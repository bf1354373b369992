#include "app/keys/key_source.h"

namespace morvane::keys {

KeySource ChooseKeySource(std::string_view qt_platform, std::string_view session_type, bool portal_chosen)
{
    if (portal_chosen || qt_platform != "xcb" || session_type == "wayland") return KeySource::Portal;
    return KeySource::XInput2;
}

} // namespace morvane::keys
