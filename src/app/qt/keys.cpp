#include "app/qt/keys.h"

#include <QFile>
#include <QStandardPaths>

#include <limits>
#include <optional>

#include "app/portal/portal_keys.h"
#include "app/x11/global_keyboard.h"

namespace morvane::qt {
namespace {

constexpr qint64 kLargestKeysFile = 64 * 1024;

// The portal's actions answered under the key codes the window asks for,
// until it asks for actions itself.
class ActionKeyboard final : public Keyboard {
public:
    explicit ActionKeyboard(HotKeys& actions) : actions_(actions) {}

    std::int16_t Get_Async_Key_State(int virtual_key) override
    {
        const auto action = ActionOf(virtual_key);
        if (!action) return 0;
        if (actions_.Pressed(*action)) return std::numeric_limits<std::int16_t>::min() | 1;
        return actions_.Down(*action) ? std::numeric_limits<std::int16_t>::min() : 0;
    }

private:
    static std::optional<HotKey> ActionOf(int virtual_key)
    {
        switch (virtual_key) {
        case 'P': return HotKey::Play;
        case 'S': return HotKey::Stop;
        case 'H': return HotKey::Pause;
        case 'U': return HotKey::Previous;
        case 'N': return HotKey::Next;
        case 16: return HotKey::Repeat;  // Shift: only the generic code, so one press acts once
        case 17: return HotKey::Mark;    // Ctrl
        case 188: return HotKey::Back;
        case 190: return HotKey::Forward;
        case 96: return HotKey::Record;
        default: return std::nullopt;
        }
    }

    HotKeys& actions_;
};

Keys PortalKeys(const QDBusConnection& bus, const keys::KeyMap& map)
{
    Keys keys{std::make_unique<portal::PortalKeys>(bus, map), nullptr};
    keys.keyboard = std::make_unique<ActionKeyboard>(*keys.portal);
    return keys;
}

} // namespace

Keys OpenKeys(const QString& platform_name, bool portal_chosen, const QDBusConnection& bus, const keys::KeyMap& map)
{
    if (portal_chosen || platform_name != QStringLiteral("xcb")) return PortalKeys(bus, map);
    x11::GlobalKeyboard global = x11::OpenGlobalKeyboard();
    if (global.keyboard) return {nullptr, std::move(global.keyboard)};
    return PortalKeys(bus, map);
}

UserKeys ReadUserKeys()
{
    UserKeys keys;
    keys.path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                QStringLiteral("/morvane/keys.ini");
    QFile file(keys.path);
    keys.found = file.exists();
    if (!keys.found) return keys;
    if (!file.open(QIODevice::ReadOnly)) {
        keys.file.problems = QStringLiteral("无法读取按键设置文件 %1：%2；使用内置按键。")
                                 .arg(keys.path, file.errorString())
                                 .toStdString();
        return keys;
    }
    if (file.size() > kLargestKeysFile) {
        keys.file.problems =
            QStringLiteral("按键设置文件 %1 过大（超过 64 KiB）；使用内置按键。").arg(keys.path).toStdString();
        return keys;
    }
    keys.file = keys::ParseKeysFile(file.readAll().toStdString());
    return keys;
}

} // namespace morvane::qt
