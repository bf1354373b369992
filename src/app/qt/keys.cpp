#include "app/qt/keys.h"

#include "app/portal/portal_keys.h"
#include "app/x11/global_keyboard.h"

namespace morvane::qt {
namespace {

Keys PortalKeys(const QDBusConnection& bus, const keys::KeyMap& map)
{
    auto portal = std::make_unique<portal::PortalKeys>(bus, map);
    Keys keys{nullptr, portal.get()};
    keys.keyboard = std::move(portal);
    return keys;
}

} // namespace

Keys OpenKeys(const QString& platform_name, bool portal_chosen, const QDBusConnection& bus, const keys::KeyMap& map)
{
    if (portal_chosen || platform_name != QStringLiteral("xcb")) return PortalKeys(bus, map);
    x11::GlobalKeyboard global = x11::OpenGlobalKeyboard(map);
    if (global.keyboard) return {std::move(global.keyboard), nullptr};
    return PortalKeys(bus, map);
}

} // namespace morvane::qt
