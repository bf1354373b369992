#include "app/qt/keys.h"

#include "app/x11/global_keyboard.h"

namespace morvane::qt {

Keys OpenKeys(const QString& platform_name)
{
    if (platform_name.startsWith(QStringLiteral("wayland"))) {
        return {std::make_unique<SilentKeyboard>(),
                QStringLiteral("当前是 Wayland 会话，无法读取全局快捷键；请用窗口中的按钮，或在 X11 会话中运行 Morvane。")};
    }
    if (platform_name != QStringLiteral("xcb")) {
        return {std::make_unique<SilentKeyboard>(),
                QStringLiteral("图形平台 %1 上无法读取全局快捷键；请用窗口中的按钮，或在 X11 会话中运行 Morvane。")
                    .arg(platform_name)};
    }
    x11::GlobalKeyboard global = x11::OpenGlobalKeyboard();
    if (global.keyboard) return {std::move(global.keyboard), {}};
    return {std::make_unique<SilentKeyboard>(),
            QStringLiteral("无法读取全局快捷键（%1）；请用窗口中的按钮。").arg(QString::fromStdString(global.reason))};
}

} // namespace morvane::qt
