#include "app/qt/keys.h"

#include <QFile>
#include <QStandardPaths>

#include "app/keys/key_source.h"
#include "app/portal/portal_keys.h"
#include "app/x11/global_keyboard.h"

namespace morvane::qt {
namespace {

constexpr qint64 kLargestKeysFile = 64 * 1024;

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
    const keys::KeySource source = keys::ChooseKeySource(
        platform_name.toStdString(), qEnvironmentVariable("XDG_SESSION_TYPE").toStdString(), portal_chosen);
    if (source == keys::KeySource::Portal) return PortalKeys(bus, map);
    x11::GlobalKeyboard global = x11::OpenGlobalKeyboard(map);
    if (global.keyboard) return {std::move(global.keyboard), nullptr};
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
