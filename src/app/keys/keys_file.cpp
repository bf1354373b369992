#include "app/keys/keys_file.h"

#include "app/ini/ini_lines.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "text/names.h"

namespace morvane::keys {
namespace {

using ini::Quoted;

std::optional<HotKey> ParseAction(std::string_view id)
{
    for (HotKey action : kAllHotKeys)
        if (SameName(id, ActionId(action))) return action;
    return std::nullopt;
}

} // namespace

KeysFile ParseKeysFile(std::string_view text)
{
    KeysFile file;
    std::array<int, kAllHotKeys.size()> line_of_action{};  // 0: not named yet
    std::vector<ini::Problem> problems;
    ini::ForEachLine(text, "动作 = 按键", problems, [&](const ini::Line& line) {
        const auto action = ParseAction(line.name);
        if (!action) {
            problems.push_back({line.number, "未知的动作" + Quoted(line.name)});
            return;
        }
        int& named_at = line_of_action[static_cast<std::size_t>(*action)];
        if (named_at != 0) {
            problems.push_back(
                {line.number, "动作 " + std::string(line.name) + " 已在第 " + std::to_string(named_at) + " 行设定"});
            return;
        }
        Binding binding{std::nullopt, true};
        if (!SameName(line.value, "none")) {
            binding.chord = ParseChord(line.value);
            if (!binding.chord) {
                problems.push_back({line.number, "未知的按键" + Quoted(line.value)});
                return;
            }
            const auto taken = std::ranges::find_if(kAllHotKeys, [&](HotKey other) {
                return line_of_action[static_cast<std::size_t>(other)] != 0 && Collide(file.map[other], binding);
            });
            if (taken != kAllHotKeys.end()) {
                const int other_line = line_of_action[static_cast<std::size_t>(*taken)];
                problems.push_back({line.number, "按键 " + ChordText(*binding.chord) + " 已在第 " +
                                                     std::to_string(other_line) + " 行用于 " +
                                                     std::string(ActionId(*taken))});
                return;
            }
        }
        named_at = line.number;
        file.map[*action] = binding;
    });
    // A written key that an action the file leaves alone still answers to,
    // built in, would do two things at once. The line gives way rather than
    // silently take the key from that action; its own action then answers to
    // its built-in key again, which another line may meet in turn.
    const KeyMap built_in;
    for (bool gave_way = true; gave_way;) {
        gave_way = false;
        for (HotKey action : kAllHotKeys) {
            int& line = line_of_action[static_cast<std::size_t>(action)];
            if (line == 0) continue;
            const auto keeper = std::ranges::find_if(kAllHotKeys, [&](HotKey other) {
                return line_of_action[static_cast<std::size_t>(other)] == 0 && Collide(file.map[other], file.map[action]);
            });
            if (keeper == kAllHotKeys.end()) continue;
            const std::string other(ActionId(*keeper));
            problems.push_back({line, "按下 " + ChordText(*file.map[action].chord) + " 也会触发 " + other +
                                          " 的内置按键 " + ChordText(*file.map[*keeper].chord) + "；要用它，请先给 " +
                                          other + " 另设按键或写 " + other + " = none"});
            file.map[action] = built_in[action];
            line = 0;
            gave_way = true;
        }
    }

    file.problems = ini::ProblemsMessage("按键设置文件中有 ", " 行无法使用，这些动作仍用内置按键：", std::move(problems));
    return file;
}

std::string KeyMapText(const KeyMap& map, std::string_view path, bool file_found)
{
    std::string text = "按键设置文件：" + std::string(path) + (file_found ? "\n" : "（不存在，使用内置按键）\n");
    for (HotKey action : kAllHotKeys) {
        const Binding& binding = map[action];
        text += std::string(ActionId(action)) + " = " + (binding.chord ? ChordText(*binding.chord) : "none");
        if (binding.written) text += "\n";
        else text += binding.chord ? "（内置，忽略修饰键）\n" : "（没有内置按键，可在按键设置文件中设置）\n";
    }
    return text;
}

} // namespace morvane::keys
