#include <QApplication>
#include <QCommandLineParser>
#include <QDBusConnection>
#include <QDBusError>
#include <QMessageBox>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/qt/code_page.h"
#include "app/qt/files.h"
#include "app/splitting/split_command.h"
#include "app/portal/portal_keys.h"
#include "app/qt/app.h"
#include "app/qt/keys.h"
#include "app/qt/text.h"
#include "morvane_version.h"
#include "player/mpris/mpris_link.h"
#include "text/utf8.h"

namespace {

// Whether the command line only asks for help, the version or the keys, which must
// answer without a display (in a terminal over ssh, in a package build).
bool OnlyAsks(std::span<char*> arguments, const morvane::CommandLine& command_line)
{
    return command_line.keys || std::ranges::any_of(arguments.subspan(1), [](const char* argument) {
               for (const char* asked : {"-h", "--help", "-?", "--help-all", "-v", "--version"})
                   if (std::strcmp(argument, asked) == 0) return true;
               return false;
           });
}

// morvane --sentences FILE: the sentences to standard output or a file,
// without a window or a display.
int FindSentences(const morvane::CommandLine& command_line)
{
    morvane::qt::DiskFiles files;
    const morvane::qt::Gb18030CodePage code_page;
    const morvane::splitting::SplitOutput output =
        morvane::splitting::RunSplit(command_line, files, code_page, morvane::mark_file::Encoding::Utf8);
    std::fputs(output.out.c_str(), stdout);
    if (!output.message.empty()) std::fprintf(stderr, "%s\n", morvane::ToUtf8(output.message).c_str());
    return output.exit_code;
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
    // Qt's parser for the help and the refusal of unknown options; the values
    // are read as on every platform.
    for (const morvane::CommandOption& known : morvane::CommandOptions()) {
        using morvane::qt::ToQString;
        QCommandLineOption option(ToQString(known.name), ToQString(known.help), ToQString(known.value_name));
        if (known.help.empty()) option.setFlags(QCommandLineOption::HiddenFromHelp);
        options.addOption(option);
    }
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(QString::fromLocal8Bit(argv[i]).toStdU16String());
    const morvane::CommandLine command_line = morvane::ParseCommandLine(arguments);
    if (command_line.sentences) return FindSentences(command_line);
    if (OnlyAsks(std::span(argv, static_cast<std::size_t>(argc)), command_line)) {
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
    morvane::mpris::MprisLink player(bus, morvane::qt::ToQString(command_line.player.value_or(u"")));
    if (command_line.keys_from && *command_line.keys_from != u"portal") {
        QMessageBox::critical(nullptr, QStringLiteral("Morvane"),
                              QStringLiteral("--keys-from 只接受 portal，而不是“%1”。")
                                  .arg(morvane::qt::ToQString(*command_line.keys_from)));
        return 1;
    }
    morvane::qt::Keys keys;
    morvane::qt::App app(player, morvane::qt::UserConfigFolder(), morvane::qt::UserDataFolder(), [&](const morvane::keys::KeyMap& map) -> morvane::HotKeys& {
        keys = morvane::qt::OpenKeys(QGuiApplication::platformName(), command_line.keys_from.has_value(), bus, map);
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
