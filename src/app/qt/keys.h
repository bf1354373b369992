#pragma once

#include <QString>

#include <memory>

#include "app/keys/key_map.h"
#include "app/ports/hot_keys.h"

class QDBusConnection;
namespace morvane::portal {
class PortalKeys;
}

namespace morvane::qt {

// The keyboard the hot keys are read from. When they come from the
// desktop's portal, `portal` is set: once started, it says why there are
// none, if there are none (Failed).
struct Keys {
    std::unique_ptr<HotKeys> keyboard;
    portal::PortalKeys* portal = nullptr;  // the keyboard, when it is the portal
};

// XInput2 on the xcb platform in an X session; the desktop's GlobalShortcuts
// portal in a Wayland session (XWayland included), where XInput2 is
// missing, or when `portal_chosen` (keys::ChooseKeySource).
Keys OpenKeys(const QString& platform_name, bool portal_chosen, const QDBusConnection& bus, const keys::KeyMap& map);

// A keyboard on which no key is ever down.
class SilentKeyboard final : public HotKeys {
public:
    bool Pressed(HotKey) override { return false; }
};

} // namespace morvane::qt
