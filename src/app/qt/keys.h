#pragma once

#include <QString>

#include <memory>

#include "app/keys/keys_file.h"
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

// The user's keys file ($XDG_CONFIG_HOME/morvane/keys.ini): where it is,
// whether it is there, and what it says (or why it could not be read).
struct UserKeys {
    QString path;
    bool found = false;
    keys::KeysFile file;
};
UserKeys ReadUserKeys();

// A keyboard on which no key is ever down.
class SilentKeyboard final : public HotKeys {
public:
    bool Pressed(HotKey) override { return false; }
};

} // namespace morvane::qt
