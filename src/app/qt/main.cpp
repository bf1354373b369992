#include <QApplication>
#include <QCommandLineParser>
#include <QDBusConnection>
#include <QDBusError>
#include <QMessageBox>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <span>

#include "app/portal/portal_keys.h"
#include "app/qt/app.h"
#include "app/qt/keys.h"
#include "morvane_version.h"
#include "player/mpris/mpris_link.h"
#include "text/utf8.h"

namespace {

// Whether the command line only asks for help, the version or the keys, which must
// answer without a display (in a terminal over ssh, in a package build).
bool OnlyAsks(std::span<char*> arguments)
{
    return std::ranges::any_of(arguments.subspan(1), [](const char* argument) {
        for (const char* asked : {"-h", "--help", "-?", "--help-all", "-v", "--version", "--keys"})
            if (std::strcmp(argument, asked) == 0) return true;
        return false;
    });
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Morvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MORVANE_VERSION_TEXT));

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Morvane: 遥控正在运行的播放器，复读并记录时间点。"));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption player_option(
        QStringLiteral("player"),
        QStringLiteral("只控制 MPRIS 名称（org.mpris.MediaPlayer2. 之后的部分）以 NAME 开头的播放器，如 mpv、vlc。"),
        QStringLiteral("NAME"));
    options.addOption(player_option);
    const QCommandLineOption keys_option(QStringLiteral("keys"), QStringLiteral("列出各动作的全局快捷键及其设置文件。"));
    options.addOption(keys_option);
    const QCommandLineOption keys_from_option(
        QStringLiteral("keys-from"), QStringLiteral("全局快捷键的来源：portal 表示桌面的全局快捷键门户（X11 下默认用 XInput2）。"),
        QStringLiteral("portal"));
    options.addOption(keys_from_option);
    if (OnlyAsks(std::span(argv, static_cast<std::size_t>(argc)))) {
        QCoreApplication terminal(argc, argv);
        options.process(terminal);  // answers help and the version, and exits
        morvane::qt::DiskFiles files;
        const morvane::KeysListing listing = morvane::ListKeys(files, morvane::qt::UserConfigFolder());
        std::fputs(listing.keys.c_str(), stdout);
        if (!listing.problems.empty()) std::fprintf(stderr, "%s\n", morvane::ToUtf8(listing.problems).c_str());
        return listing.problems.empty() ? 0 : 1;
    }

    QApplication application(argc, argv);
    options.process(application);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QMessageBox::critical(nullptr, QStringLiteral("Morvane"),
                              QStringLiteral("无法连接到 D-Bus 会话总线：%1").arg(bus.lastError().message()));
        return 1;
    }
    morvane::mpris::MprisLink player(bus, options.value(player_option));
    if (options.isSet(keys_from_option) && options.value(keys_from_option) != QStringLiteral("portal")) {
        QMessageBox::critical(nullptr, QStringLiteral("Morvane"),
                              QStringLiteral("--keys-from 只接受 portal，而不是“%1”。").arg(options.value(keys_from_option)));
        return 1;
    }
    morvane::qt::Keys keys;
    morvane::qt::App app(player, morvane::qt::UserConfigFolder(), [&](const morvane::keys::KeyMap& map) -> morvane::HotKeys& {
        keys = morvane::qt::OpenKeys(QGuiApplication::platformName(), options.isSet(keys_from_option), bus, map);
        return *keys.keyboard;
    });
    if (!app.Start()) return 0;  // no player: the message has been shown
    if (keys.portal) {
        QObject::connect(keys.portal, &morvane::portal::PortalKeys::Failed, keys.portal,
                         [&app](const QString& reason) { app.ShowNotice(reason); });
        keys.portal->Start();
    }
    return QApplication::exec();
}
