#include "app/command_line.h"

#include <array>

namespace morvane {
namespace {

// The help is what the Linux program prints; the Windows one has no console.
constexpr std::array kOptions{
    CommandOption{u"player", u"NAME",
                  u"只控制 MPRIS 名称（org.mpris.MediaPlayer2. 之后的部分）以 NAME 开头的播放器，如 mpv、vlc。",
                  &CommandLine::player},
    CommandOption{u"keys", u"", u"列出各动作的全局快捷键及其设置文件。", nullptr, &CommandLine::keys},
    CommandOption{u"keys-from", u"portal",
                  u"全局快捷键的来源：portal 表示桌面的全局快捷键门户（X11 下默认用 XInput2）。",
                  &CommandLine::keys_from},
    CommandOption{u"sentences", u"FILE",
                  u"找出录音 FILE 的每一句，把句子的开头作为记录输出，不打开窗口。", &CommandLine::sentences},
    CommandOption{u"to", u"OUT",
                  u"与 --sentences 一起用：写入文件 OUT，格式按文件名结尾：.srt、.vtt、labels.txt（Audacity 标签），"
                  u"其余为记录文件。",
                  &CommandLine::to},
    CommandOption{u"pause", u"SECONDS", u"与 --sentences 一起用：多长的停顿算一句结束，默认 0.3 秒。",
                  &CommandLine::pause},
};

const CommandOption* Named(std::u16string_view name)
{
    for (const CommandOption& option : kOptions)
        if (option.name == name) return &option;
    return nullptr;
}

} // namespace

std::span<const CommandOption> CommandOptions() { return kOptions; }

CommandLine ParseCommandLine(const std::vector<std::u16string>& arguments)
{
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string_view argument = arguments[i];
        const std::size_t equals = argument.find(u'=');
        const CommandOption* option =
            argument.starts_with(u"--") ? Named(argument.substr(2, equals == std::u16string_view::npos ? equals : equals - 2))
                                        : nullptr;
        if (option == nullptr || (option->flag != nullptr && equals != std::u16string_view::npos)) {
            line.others.push_back(arguments[i]);
        } else if (option->flag != nullptr) {
            line.*option->flag = true;
        } else if (equals != std::u16string_view::npos) {
            line.*option->value = std::u16string(argument.substr(equals + 1));
        } else {
            line.*option->value = i + 1 < arguments.size() ? arguments[++i] : std::u16string();
        }
    }
    return line;
}

} // namespace morvane
