#include "app/qt/keys.h"

#include "app/keys/key_source.h"
#include "app/portal/portal_keys.h"
#include "app/x11/global_keyboard.h"

namespace morvane::qt {
namespace {

Keys OpenPortalKeys(const QDBusConnection& bus, const keys::KeyMap& map)
{
    auto portal = std::make_unique<portal::PortalKeys>(bus, map);
    Keys keys{nullptr, portal.get()};
    keys.keyboard = std::move(portal);
    return keys;
}

} // namespace

Keys OpenKeys(const QString& platform_name, bool portal_chosen, const QDBusConnection& bus, const keys::KeyMap& map)
{
    const keys::KeySource source = keys::ChooseKeySource(
        platform_name.toStdString(), qEnvironmentVariable("XDG_SESSION_TYPE").toStdString(), portal_chosen);
    if (source == keys::KeySource::Portal) return OpenPortalKeys(bus, map);
    if (auto keyboard = x11::OpenGlobalKeyboard(map)) return {std::move(keyboard), nullptr};
    return OpenPortalKeys(bus, map);
}

} // namespace morvane::qt
