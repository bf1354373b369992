#include <QApplication>
#include <QCommandLineParser>
#include <QDBusConnection>
#include <QDBusError>
#include <QMessageBox>

#include <algorithm>
#include <cstring>
#include <span>

#include "app/qt/app.h"
#include "app/qt/keys.h"
#include "morvane_version.h"
#include "player/mpris/mpris_link.h"

namespace {

// Whether the command line only asks for help or the version, which must
// answer without a display (in a terminal over ssh, in a package build).
bool OnlyAsks(std::span<char*> arguments)
{
    return std::ranges::any_of(arguments.subspan(1), [](const char* argument) {
        for (const char* asked : {"-h", "--help", "-?", "--help-all", "-v", "--version"})
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
    if (OnlyAsks(std::span(argv, static_cast<std::size_t>(argc)))) {
        QCoreApplication terminal(argc, argv);
        options.process(terminal);  // answers and exits
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
    const morvane::qt::Keys keys = morvane::qt::OpenKeys(QGuiApplication::platformName());

    morvane::qt::App app(player, *keys.keyboard);
    if (!app.Start()) return 0;  // no player: the message has been shown
    if (!keys.notice.isEmpty()) app.ShowNotice(keys.notice);
    return QApplication::exec();
}
