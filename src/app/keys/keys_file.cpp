#include "app/keys/keys_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <vector>

namespace morvane::keys {
namespace {

constexpr std::size_t kQuotedBytes = 40;   // of a faulty line's text, in the message
constexpr std::size_t kListedProblems = 20;

std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The start of a user's text, cut on a UTF-8 character boundary.
std::string Quoted(std::string_view text)
{
    if (text.size() <= kQuotedBytes) return "“" + std::string(text) + "”";
    std::size_t end = kQuotedBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return "“" + std::string(text.substr(0, end)) + "…”";
}

std::optional<HotKey> ParseAction(std::string_view id)
{
    for (HotKey action : kAllHotKeys)
        if (std::ranges::equal(id, ActionId(action), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == b;
            }))
            return action;
    return std::nullopt;
}

} // namespace

KeysFile ParseKeysFile(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    KeysFile file;
    std::array<int, kAllHotKeys.size()> line_of_action{};  // 0: not named yet
    std::vector<std::pair<int, std::string>> problems;  // line number, text
    int line_number = 0;
    for (std::size_t start = 0; start <= text.size();) {
        const auto end = std::min(text.find('\n', start), text.size());
        const std::string_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        ++line_number;
        if (line.empty() || line[0] == ';' || line[0] == '#' || line[0] == '[') continue;

        const std::string where = "第 " + std::to_string(line_number) + " 行：";
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            problems.emplace_back(line_number, where + "应写成“动作 = 按键”，而不是" + Quoted(line));
            continue;
        }
        const std::string_view id = Trim(line.substr(0, equals));
        const std::string_view value = Trim(line.substr(equals + 1));
        const auto action = ParseAction(id);
        if (!action) {
            problems.emplace_back(line_number, where + "未知的动作" + Quoted(id));
            continue;
        }
        int& named_at = line_of_action[static_cast<std::size_t>(*action)];
        if (named_at != 0) {
            problems.emplace_back(line_number,
                                  where + "动作 " + std::string(id) + " 已在第 " + std::to_string(named_at) + " 行设定");
            continue;
        }
        Binding binding{std::nullopt, true};
        if (!std::ranges::equal(value, std::string_view("none"), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == b;
            })) {
            binding.chord = ParseChord(value);
            if (!binding.chord) {
                problems.emplace_back(line_number, where + "未知的按键" + Quoted(value));
                continue;
            }
            const auto taken = std::ranges::find_if(kAllHotKeys, [&](HotKey other) {
                return line_of_action[static_cast<std::size_t>(other)] != 0 && Collide(file.map[other], binding);
            });
            if (taken != kAllHotKeys.end()) {
                problems.emplace_back(line_number, where + "按键 " + ChordText(*binding.chord) + " 已在第 " +
                                                       std::to_string(line_of_action[static_cast<std::size_t>(*taken)]) +
                                                       " 行用于 " + std::string(ActionId(*taken)));
                continue;
            }
        }
        named_at = line_number;
        file.map[*action] = binding;
    }

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
            problems.emplace_back(line, "第 " + std::to_string(line) + " 行：按下 " + ChordText(*file.map[action].chord) +
                                            " 也会触发 " + other + " 的内置按键 " + ChordText(*file.map[*keeper].chord) +
                                            "；要用它，请先给 " + other + " 另设按键或写 " + other + " = none");
            file.map[action] = built_in[action];
            line = 0;
            gave_way = true;
        }
    }

    if (!problems.empty()) {
        std::ranges::stable_sort(problems, {}, &std::pair<int, std::string>::first);
        file.problems = "按键设置文件中有 " + std::to_string(problems.size()) +
                        " 行无法使用，这些动作仍用内置按键：";
        for (std::size_t i = 0; i < std::min(problems.size(), kListedProblems); ++i)
            file.problems += "\n" + problems[i].second;
        if (problems.size() > kListedProblems) file.problems += "\n……";
    }
    return file;
}

std::string KeyMapText(const KeyMap& map, std::string_view path, bool file_found)
{
    std::string text = "按键设置文件：" + std::string(path) + (file_found ? "\n" : "（不存在，使用内置按键）\n");
    for (HotKey action : kAllHotKeys) {
        const Binding& binding = map[action];
        text += std::string(ActionId(action)) + " = " + (binding.chord ? ChordText(*binding.chord) : "none");
        if (binding.written) text += "\n";
        else text += binding.chord ? "（内置，不看修饰键）\n" : "（没有内置按键，可在按键设置文件中设置）\n";
    }
    return text;
}

} // namespace morvane::keys
